// Pseudo-legal move generation. The order of the list is part of the
// engine's behaviour: the search sorts it with an unstable sort, so moves of
// equal rank come out in an order that depends on this one. Squares are
// visited in ascending order, each piece's directions in step-table order,
// and along a line the nearest square first, the line's capture last.
#include <bit>

#include "rules/board_tables.h"
#include "rules/position.h"

namespace lanterra {

namespace {

// The first square off the board walking from sq in direction D: where a
// line with no piece on it ends.
template <int D>
constexpr int LineEnd(int sq) {
  if constexpr (D == -16) return SquareAt(2, FileOf(sq));
  if constexpr (D == 16) return SquareAt(13, FileOf(sq));
  if constexpr (D == -1) return SquareAt(RankOf(sq), 2);
  return SquareAt(RankOf(sq), 12);
}
static_assert(LineEnd<-16>(0x37) == 0x27 && LineEnd<16>(0x37) == 0xD7);
static_assert(LineEnd<-1>(0x37) == 0x32 && LineEnd<1>(0x37) == 0x3C);

}  // namespace

template <bool CAPTURES_ONLY>
int Position::ListMovesOf(Move* moves) const {
  const int own = SideBit(side), opp = OpponentBit(side);
  int count = 0;
  // A square may be landed on when it holds no own piece (all moves) or an
  // opponent piece (captures only).
  auto lands = [&](int t) {
    if constexpr (CAPTURES_ONLY)
      return (squares[t] & opp) != 0;
    else
      return (squares[t] & own) == 0;
  };
  auto emit = [&](int from, int to) { moves[count++] = MoveOf(from, to); };

  // A rook's or cannon's quiet moves along D: every square before the first
  // piece, nearest first; returns that piece's square (0 if none).
  auto quietLine = [&]<int D>(int from) {
    const int stop = NextOccupied<D>(from);
    if constexpr (!CAPTURES_ONLY) {
      const int end = stop != 0 ? stop : LineEnd<D>(from);
      for (int t = from + D; t != end; t += D) emit(from, t);
    }
    return stop;
  };
  auto rookLine = [&]<int D>(int from) {
    const int stop = quietLine.template operator()<D>(from);
    if (stop != 0 && (squares[stop] & opp)) emit(from, stop);
  };
  // A cannon captures the first piece behind the first piece it meets.
  auto cannonLine = [&]<int D>(int from) {
    const int screen = quietLine.template operator()<D>(from);
    if (screen == 0) return;
    const int target = NextOccupied<D>(screen);
    if (target != 0 && (squares[target] & opp)) emit(from, target);
  };

  // Own pieces in ascending square order, the order of a scan of the board:
  // the set bits of the four words, low word first, lowest bit first.
  for (int word = 0; word < 4; ++word) {
    for (uint64_t bits = index.sidePieces[side][word]; bits != 0; bits &= bits - 1) {
      const int from = word * 64 + std::countr_zero(bits);
      switch (squares[from] - own) {
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
          // KING_STEPS order.
          rookLine.template operator()<-16>(from);
          rookLine.template operator()<-1>(from);
          rookLine.template operator()<1>(from);
          rookLine.template operator()<16>(from);
          break;
        case CANNON:
          cannonLine.template operator()<-16>(from);
          cannonLine.template operator()<-1>(from);
          cannonLine.template operator()<1>(from);
          cannonLine.template operator()<16>(from);
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
  }
  return count;
}

static_assert(KING_STEPS[0] == -16 && KING_STEPS[1] == -1 && KING_STEPS[2] == 1 && KING_STEPS[3] == 16,
              "the line walks above are written out in this order");

int Position::ListMoves(Move* moves, int capturesOnly) const {
  return capturesOnly ? ListMovesOf<true>(moves) : ListMovesOf<false>(moves);
}

}  // namespace lanterra
