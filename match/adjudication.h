// The end of a match game: who won and why, by the game's rules or by a
// fault of one of the engines.
#pragma once

#include <string>
#include <string_view>

#include "rules/position.h"

namespace lanterra {

enum class Outcome { ONGOING, RED_WINS, BLACK_WINS, DRAW };

// Why a game ended: by the rules, or by a fault of one of the engines.
enum class Reason {
  NONE,
  MATE,
  STALEMATE,
  PERPETUAL_CHECK,
  REPETITION,
  MOVE_LIMIT,
  OUR_ENGINE_NO_MOVE,           // our engine gave no legal move
  OUTSIDE_ENGINE_FAILED,        // it stopped answering or could not start a game
  OUTSIDE_ENGINE_NO_MOVE,       // it answered without a usable move
  OUTSIDE_ENGINE_ILLEGAL_MOVE,  // it played a move the position refuses
};

struct Verdict {
  Outcome outcome = Outcome::ONGOING;
  Reason reason = Reason::NONE;
  std::string detail;  // for the outside engine's faults: what went wrong
  // "mate", "perpetual check", "100-move limit", "outside engine failed:
  // no answer from the engine", ...: the log's and the PGN's words.
  std::string Text() const;
};

// The game's judgement after a move was played on pos (rules/game_end.h),
// as a match result. When the game goes on after a capture the history is
// collapsed, as the game does.
Verdict Adjudicate(Position& pos);

std::string_view ResultText(Outcome outcome);  // "1-0", "0-1", "1/2-1/2", "*"

}  // namespace lanterra
