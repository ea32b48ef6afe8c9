#include "protocol/session_check.h"

#include <algorithm>
#include <sstream>

#include "notation/fen_iccs.h"
#include "notation/text.h"

namespace lanterra {

namespace {

constexpr std::string_view ANSWERS[] = {
    "id ", "option ", "ucciok", "uciok", "readyok", "info ", "bestmove ", "nobestmove", "bye",
};

// What is wrong with one answer to go in pos, or nothing.
std::string JudgeMove(std::string_view answer, const Position& pos) {
  Move legal[MAX_MOVES_PER_POSITION];
  const int count = LegalMoves(pos, legal);
  if (answer == "nobestmove" || answer == "bestmove (none)")
    return count == 0 ? std::string() : "no move where there are " + std::to_string(count);
  std::string_view text = answer.substr(answer.find(' ') + 1);
  text = text.substr(0, text.find(' '));
  const Move mv = ParseIccsMove(text);
  if (mv == 0 || std::find(legal, legal + count, mv) == legal + count)
    return "not a legal move of " + ToFen(pos);
  return {};
}

void Judge(SessionCheck& check, std::string_view answer, const Position& pos) {
  ++check.answers;
  std::string fault;
  bool known = false;
  for (std::string_view prefix : ANSWERS) known = known || answer.starts_with(prefix);
  // Everything the engine says must stay printable ASCII, whatever it read.
  for (char c : answer) known = known && c >= 0x20 && c < 0x7F;
  if (!known) {
    fault = "no protocol line";
  } else if (answer.starts_with("info string error")) {
    ++check.errors;
  } else if (answer.starts_with("bestmove ") || answer == "nobestmove") {
    ++check.bestMoves;
    fault = JudgeMove(answer, pos);
  }
  if (fault.empty()) return;
  if (check.badAnswers++ == 0) check.firstBadAnswer = Printable(answer, 200) + ": " + fault;
}

}  // namespace

SessionCheck CheckSession(std::string_view script, Dialect dialect, const ProtocolCaps& caps) {
  SessionCheck check;
  std::ostringstream out;
  ProtocolSession session(out, dialect, caps);
  size_t at = 0;
  bool going = true;
  while (going && at < script.size()) {
    size_t end = std::min(script.find('\n', at), script.size());
    going = session.Handle(script.substr(at, end - at));
    at = end + 1;
    ++check.lines;
    // The answers of one line are judged in the position the line leaves:
    // go does not change it, and a position command answers no move.
    std::istringstream answers(out.str());
    for (std::string answer; std::getline(answers, answer);) Judge(check, answer, session.CurrentPosition());
    out.str({});
  }
  return check;
}

}  // namespace lanterra
