// Whether one given move obeys its piece's rule, which of the generated
// moves leave the mover's king safe, and whether any does.
#include "rules/board_tables.h"
#include "rules/position.h"
#include "rules/search_moves.h"

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

// DoMove's decision for each move, without playing it: the pieces move on
// the board and back, and no history record is written.
bool Position::IsMated() {
  Move moves[MAX_MOVES_PER_POSITION];
  const int count = ListMoves(moves, false);
  const int checkSources = SearchMoves::MoverCheckSources(*this);
  for (int i = 0; i < count; ++i) {
    if (IsLegal(moves[i], checkSources)) return false;
  }
  return true;
}

int LegalMoves(const Position& pos, Move* moves) {
  // The test moves pieces on the board and back, so it runs on a copy; the
  // copy also spares a caller deep into a long game the history record
  // that playing each move would need.
  Position scratch = pos;
  Move all[MAX_MOVES_PER_POSITION];
  const int count = scratch.ListMoves(all, false);
  const int checkSources = SearchMoves::MoverCheckSources(scratch);
  int legal = 0;
  for (int i = 0; i < count; ++i) {
    if (SearchMoves::IsLegal(scratch, all[i], checkSources)) moves[legal++] = all[i];
  }
  return legal;
}

}  // namespace lanterra
