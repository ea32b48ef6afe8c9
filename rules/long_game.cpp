#include "rules/long_game.h"

namespace lanterra {

bool PlayLongGameMove(Position& pos, Move mv) {
  if (!pos.IsPseudoLegal(mv) || !pos.DoMove(mv)) return false;
  if (pos.LastRecord().captured != 0 || pos.historyCount >= MAX_DECISION_HISTORY) pos.CollapseHistory();
  return true;
}

}  // namespace lanterra
