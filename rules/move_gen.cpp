// Pseudo-legal move generation. The order of the list is part of the
// engine's behaviour: the search sorts it with an unstable sort, so moves of
// equal rank come out in an order that depends on this one. Squares are
// scanned in ascending order, each piece's directions in step-table order,
// and along a line the nearest square first, the line's capture last.
#include "rules/board_tables.h"
#include "rules/position.h"

namespace lanterra {

int Position::ListMoves(Move* moves, bool capturesOnly) const {
  const int own = SideBit(side), opp = OpponentBit(side);
  int count = 0;
  // A square may be landed on when it holds no own piece (all moves) or an
  // opponent piece (captures only).
  auto lands = [&](int t) { return capturesOnly ? (squares[t] & opp) != 0 : (squares[t] & own) == 0; };
  auto emit = [&](int from, int to) { moves[count++] = MoveOf(from, to); };

  // Margin squares are always empty, so only the playing area's span needs
  // scanning; the list comes out as from a scan of all 256 squares.
  for (int from = 0x33; from <= 0xCB; ++from) {
    const int code = squares[from];
    if ((code & own) == 0) continue;
    switch (code - own) {
      case KING:
        for (int d : KING_STEPS) {
          int t = from + d;
          if (IN_PALACE[t] && lands(t)) emit(from, t);
        }
        break;
      case ADVISOR:
        for (int d : ADVISOR_STEPS) {
          int t = from + d;
          if (IN_PALACE[t] && lands(t)) emit(from, t);
        }
        break;
      case BISHOP:
        for (int d : ADVISOR_STEPS) {
          int eye = from + d;
          if (!ON_BOARD[eye] || !OnOwnHalf(eye, side) || squares[eye] != 0) continue;
          int t = eye + d;
          if (lands(t)) emit(from, t);
        }
        break;
      case KNIGHT:
        for (int j = 0; j < 4; ++j) {
          if (squares[from + KING_STEPS[j]] != 0) continue;  // hobbled
          for (int k = 2 * j; k < 2 * j + 2; ++k) {
            int t = from + KNIGHT_STEPS[k];
            if (ON_BOARD[t] && lands(t)) emit(from, t);
          }
        }
        break;
      case ROOK:
        for (int d : KING_STEPS) {
          int t = from + d;
          for (; ON_BOARD[t] && squares[t] == 0; t += d) {
            if (!capturesOnly) emit(from, t);
          }
          if (ON_BOARD[t] && (squares[t] & opp)) emit(from, t);
        }
        break;
      case CANNON:
        for (int d : KING_STEPS) {
          int t = from + d;
          for (; ON_BOARD[t] && squares[t] == 0; t += d) {
            if (!capturesOnly) emit(from, t);
          }
          if (!ON_BOARD[t]) continue;
          for (t += d; ON_BOARD[t] && squares[t] == 0; t += d) {
          }
          if (ON_BOARD[t] && (squares[t] & opp)) emit(from, t);
        }
        break;
      case PAWN: {
        int t = from + (side == 0 ? -16 : 16);
        if (ON_BOARD[t] && lands(t)) emit(from, t);
        if (!OnOwnHalf(from, side)) {
          if (ON_BOARD[from - 1] && lands(from - 1)) emit(from, from - 1);
          if (ON_BOARD[from + 1] && lands(from + 1)) emit(from, from + 1);
        }
        break;
      }
      default:
        break;
    }
  }
  return count;
}

}  // namespace lanterra
