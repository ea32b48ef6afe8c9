// The check queries that are not on the search's every-node path: the
// whole report of what attacks a king, and the side to move's check test.
#include "rules/attacks.h"

namespace lanterra {

int CheckSources(const Position& pos, Side side) {
  using namespace attacks_detail;
  const int king = pos.index.kingSquares[side];
  if (king == 0) return 0;
  return (PawnAttacks(pos, side, king) ? CHECK_BY_PAWN : 0) | (KnightAttacks(pos, side, king) ? CHECK_BY_KNIGHT : 0) |
         (RankAttacks(pos, side, king) ? CHECK_ALONG_RANK : 0) | (FileAttacks(pos, side, king) ? CHECK_ALONG_FILE : 0);
}

bool Position::IsInCheck() const { return KingAttacked(*this, side); }

}  // namespace lanterra
