// A move the player types instead of clicking, in Chinese notation, WXF
// ("C2.5") or ICCS ("h2e2"): for a player who cannot see the board, or
// would rather write the move than point at it.
#pragma once

#include <string_view>

#include "app/game_controller.h"

namespace lanterra {

enum class TypedMoveFault {
  NONE,          // the move was played
  GAME_OVER,     // the game is over: nothing more can be moved
  NOT_YOUR_TURN, // the computer is to move
  UNREADABLE,    // the text is a move in none of the notations
  NOT_LEGAL,     // the text names no legal move of the position, or several
};

// Reads text as a move of the human's side in the current position and
// plays it as a pointer would: a click on the piece, then one on its
// target, so that the sounds, the reply and the end of the game are those
// of a move made with clicks. Anything but NONE changes nothing.
TypedMoveFault PlayTypedMove(GameController& game, std::string_view text);

}  // namespace lanterra
