// A session run on a script of command lines with every answer checked: the
// random-input tester and the fuzz harness both judge the loop by it.
#pragma once

#include <string>
#include <string_view>

#include "protocol/protocol.h"

namespace lanterra {

struct SessionCheck {
  long long lines = 0;        // command lines handled, up to and with a quit
  long long answers = 0;
  long long bestMoves = 0;    // answers to go, moves and "no move" alike
  long long errors = 0;       // "info string error" answers
  long long badAnswers = 0;   // answers no protocol allows, see CheckSession
  std::string firstBadAnswer;  // with what is wrong with it
};

// Feeds script (command lines, each ended by a newline or by the end of the
// script) to one session and checks what it answers: every line one the
// protocol has, in printable ASCII; every move a go answers one of the legal
// moves of the position the session holds; and "no move" only where there
// is none.
SessionCheck CheckSession(std::string_view script, Dialect dialect, const ProtocolCaps& caps);

}  // namespace lanterra
