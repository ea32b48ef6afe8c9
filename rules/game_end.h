// How a game ends, judged after every move by the game's rules, in their
// order: mate or stalemate, then a position occurring for the fourth time
// (lost for the side that gave check with every one of its moves through
// the repetition, drawn otherwise), then the 100th move since the setup or
// the last capture.
#pragma once

#include "rules/position.h"

namespace lanterra {

// Seen from the side that has just moved, the mover.
enum class Ending {
  NONE,
  MATE,                      // the side to move is checkmated: the mover wins
  STALEMATE,                 // the side to move cannot move: the mover wins
  PERPETUAL_CHECK_BY_MOVER,  // the mover checked throughout: it loses
  PERPETUAL_CHECK_AGAINST,   // the side to move checked throughout: the mover wins
  REPETITION,                // a draw
  MOVE_LIMIT,                // a draw
};

enum class Result { MOVER_WINS, DRAW, MOVER_LOSES };

// The result of an ending other than NONE.
constexpr Result ResultOf(Ending ending) {
  switch (ending) {
    case Ending::MATE:
    case Ending::STALEMATE:
    case Ending::PERPETUAL_CHECK_AGAINST:
      return Result::MOVER_WINS;
    case Ending::PERPETUAL_CHECK_BY_MOVER:
      return Result::MOVER_LOSES;
    default:
      return Result::DRAW;
  }
}

// The history holds the base record plus one record per move since the
// setup or the last capture, so a count above this means 100 such moves.
inline constexpr int NATURAL_LIMIT_COUNT = 100;

// Judges pos after a move. When the game goes on after a capture, the
// history restarts there, since nothing before a capture can recur: the
// repetition test never looks back past it and the move count for the limit
// starts again. pos is otherwise left as it was.
Ending JudgeMove(Position& pos);

}  // namespace lanterra
