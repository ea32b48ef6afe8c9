// Repetition: a position that recurs ends the line. The side that gave check
// with every one of its moves through the repetition loses; otherwise it is
// a draw.
#include "rules/position.h"

namespace lanterra {

int Position::RepetitionStatus(int recurrences) const {
  bool ownPerpetual = true, opponentPerpetual = true;
  bool ownTurn = false;  // the last record is the opponent's move
  for (int i = historyCount - 1; history[i].move != 0; --i) {
    const MoveRecord& r = history[i];
    // A capture cannot be undone, so nothing before it can recur.
    if (r.captured != 0) return 0;
    if (ownTurn) {
      ownPerpetual = ownPerpetual && r.inCheck != 0;
      // Only own records were made with the same side to move as now.
      if (r.keyBefore == zobrist.key && --recurrences == 0)
        return REP_SEEN + (ownPerpetual ? REP_OWN_PERPETUAL : 0) + (opponentPerpetual ? REP_OPPONENT_PERPETUAL : 0);
    } else {
      opponentPerpetual = opponentPerpetual && r.inCheck != 0;
    }
    ownTurn = !ownTurn;
  }
  return 0;
}

int Position::RepetitionScore(int status) const {
  int v = ((status & REP_OWN_PERPETUAL) ? distance - SCORE_BANNED : 0) +
          ((status & REP_OPPONENT_PERPETUAL) ? SCORE_BANNED - distance : 0);
  return v != 0 ? v : DrawScore();
}

}  // namespace lanterra
