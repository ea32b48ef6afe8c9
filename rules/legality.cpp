// Whether one given move obeys its piece's rule, and whether the side to
// move has any move that leaves its king safe.
#include "rules/board_tables.h"
#include "rules/position.h"

namespace lanterra {

bool Position::IsPseudoLegal(Move mv) const {
  const int from = MoveFrom(mv), to = MoveTo(mv);
  const int own = SideBit(side);
  if ((squares[from] & own) == 0) return 0;
  if ((squares[to] & own) != 0) return 0;
  const int kind = KindOf(squares[from]);
  switch (kind) {
    case KING:
      return IN_PALACE[to] && STEP_SPAN[to - from + 256] == 1;
    case ADVISOR:
      return IN_PALACE[to] && STEP_SPAN[to - from + 256] == 2;
    case BISHOP:
      return ((from ^ to) & 0x80) == 0 && STEP_SPAN[to - from + 256] == 3 && squares[(from + to) >> 1] == 0;
    case KNIGHT: {
      int leg = from + KNIGHT_LEG[to - from + 256];
      return leg != from && squares[leg] == 0;
    }
    case ROOK:
    case CANNON: {
      int step;
      if (((from ^ to) & 0xF0) == 0)
        step = to >= from ? 1 : -1;
      else if (((from ^ to) & 0x0F) == 0)
        step = to >= from ? 16 : -16;
      else
        return 0;
      int s = from + step;
      while (s != to && squares[s] == 0) s += step;
      if (s == to) return squares[to] == 0 || kind == ROOK;
      if (squares[to] == 0 || kind == ROOK) return 0;
      // A cannon captures over exactly one screen.
      for (s += step; s != to; s += step) {
        if (squares[s] != 0) return 0;
      }
      return 1;
    }
    case PAWN:
      if (!OnOwnHalf(to, side) && (to == from - 1 || to == from + 1)) return 1;
      return to == from + ForwardStep(side);
    default:
      return 0;
  }
}

bool Position::IsMated() {
  Move moves[MAX_MOVES_PER_POSITION];
  const int count = ListMoves(moves, 0);
  for (int i = 0; i < count; ++i) {
    // Board part only: IsInCheck still looks at the mover's king.
    PieceCode captured = ApplyBoardMove(moves[i]);
    int inCheck = IsInCheck();
    RevertBoardMove(moves[i], captured);
    if (!inCheck) return 0;
  }
  return 1;
}

int LegalMoves(Position& pos, Move* moves) {
  Move all[MAX_MOVES_PER_POSITION];
  const int count = pos.ListMoves(all, 0);
  int legal = 0;
  for (int i = 0; i < count; ++i) {
    if (pos.DoMove(all[i])) {
      pos.UndoMove();
      moves[legal++] = all[i];
    }
  }
  return legal;
}

}  // namespace lanterra
