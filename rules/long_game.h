// Playing the moves of a game of any length, as the tools read them from
// game records, command lines and engine protocols. The history holds
// MOVE_HISTORY_CAPACITY records, and a move decision needs room behind the
// last of them for its search line; the game itself ends long before
// (rules/game_end.h), but a line from outside may go on for thousands of
// moves.
#pragma once

#include "rules/position.h"

namespace lanterra {

// The longest history a position may bring to a move decision: the rest of
// the records are the room for one search line of MAX_PLY moves, the book or
// forced-move test and the repetition test.
inline constexpr int MAX_DECISION_HISTORY = MOVE_HISTORY_CAPACITY - MAX_PLY - 2;

// Plays mv on pos when it obeys its piece's movement rule and leaves the
// mover's king safe; otherwise returns false and changes nothing. The
// history restarts after a capture, as in the game, since nothing before it
// can recur; in a line that reaches MAX_DECISION_HISTORY records without a
// capture it restarts too, losing only repetitions that reach back further.
bool PlayLongGameMove(Position& pos, Move mv);

}  // namespace lanterra
