#include "rules/game_end.h"

namespace lanterra {

Ending JudgeMove(Position& pos) {
  // The status is taken before the mate test, which plays and takes back
  // moves on the position.
  const int status = pos.RepetitionStatus(3);

  if (pos.IsMated()) return pos.IsInCheck() ? Ending::MATE : Ending::STALEMATE;

  if (status != 0) {
    // The status speaks for the side to move: "own" are its moves, and the
    // opponent is the mover. Both sides checking throughout is a draw.
    const bool moverChecked = (status & REP_OPPONENT_PERPETUAL) != 0;
    const bool sideToMoveChecked = (status & REP_OWN_PERPETUAL) != 0;
    if (moverChecked && !sideToMoveChecked) return Ending::PERPETUAL_CHECK_BY_MOVER;
    if (sideToMoveChecked && !moverChecked) return Ending::PERPETUAL_CHECK_AGAINST;
    return Ending::REPETITION;
  }

  // Tested before the history collapses, so a capture as the hundredth move
  // still ends the game.
  if (pos.historyCount > NATURAL_LIMIT_COUNT) return Ending::MOVE_LIMIT;

  if (pos.LastRecord().captured != 0) pos.CollapseHistory();
  return Ending::NONE;
}

}  // namespace lanterra
