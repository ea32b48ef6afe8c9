// The search's door to a position: making and taking back moves and null
// moves at every node, without the work the public DoMove and UndoMove do
// afresh for each single call. A caller that tries many moves in one
// position works out what attacks the mover's king once and hands it to
// every try; it keeps the running sums from before a move and puts them back
// instead of working them out from the move again.
//
// These entries trust their caller more than DoMove does: a wrong
// checkSources or stale sums corrupt the position. So only the search, perft
// and the rules' own queries use them (scripts/check-layers.sh keeps every
// other layer from including this header); everything else plays moves with
// Position::DoMove and Position::UndoMove.
#pragma once

#include "rules/attacks.h"
#include "rules/position.h"

namespace lanterra {

class SearchMoves {
 public:
  // The CheckSources of the side to move, worked out only when the last
  // record says it is in check: the value the entries below want.
  static int MoverCheckSources(const Position& pos) {
    return pos.LastRecord().inCheck ? CheckSources(pos, pos.side) : 0;
  }
  // Position::DoMove(mv), with checkSources = MoverCheckSources(pos).
  static bool DoMove(Position& pos, Move mv, int checkSources) { return pos.DoMove(mv, checkSources); }
  // Whether DoMove would play mv; the position is left as it was.
  static bool IsLegal(Position& pos, Move mv, int checkSources) { return pos.IsLegal(mv, checkSources); }
  // Position::UndoMove(), with before = pos.Sums() from before the move.
  static void UndoMove(Position& pos, const PositionSums& before) { pos.UndoMove(before); }
  // A pass: the other side moves next. Only for a side not in check, as
  // the null-move record says it gives no check.
  static void DoNullMove(Position& pos) { pos.DoNullMove(); }
  static void UndoNullMove(Position& pos) { pos.UndoNullMove(); }
};

}  // namespace lanterra
