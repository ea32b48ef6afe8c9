#include "app/typed_move.h"

#include <optional>
#include <string>

#include "notation/move_notation.h"

namespace lanterra {

TypedMoveFault PlayTypedMove(GameController& game, std::string_view text) {
  const UiState& ui = game.Ui();
  if (ui.gameOver) return TypedMoveFault::GAME_OVER;
  const Position& pos = game.CurrentPosition();
  if (pos.side != (ui.flipped ? SIDE_BLACK : SIDE_RED)) return TypedMoveFault::NOT_YOUR_TURN;
  // Spaces around the move are not part of it, and a notation is told by
  // the shape of the move alone.
  const size_t first = text.find_first_not_of(" \t\r\n");
  text = first == std::string_view::npos ? std::string_view() : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
  if (!DetectNotation(text)) return TypedMoveFault::UNREADABLE;
  std::string error;
  const Move mv = ReadMove(pos, text, error);
  if (mv == 0) return TypedMoveFault::NOT_LEGAL;
  // The clicks name squares as the screen shows them.
  const auto onScreen = [&](int sq) { return ui.flipped ? FlipSquare(Square(sq)) : Square(sq); };
  game.OnBoardClick(onScreen(MoveFrom(mv)));
  game.OnBoardClick(onScreen(MoveTo(mv)));
  return TypedMoveFault::NONE;
}

}  // namespace lanterra
