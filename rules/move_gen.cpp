// Pseudo-legal move generation. The order of the list is part of the
// engine's behaviour: the search sorts it with an unstable sort, so moves of
// equal rank come out in an order that depends on this one. Squares are
// visited in ascending order, each piece's directions in step-table order,
// and along a line the nearest square first, the line's capture last.
#include <array>
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

// One step of a piece that moves by steps (king, advisor, bishop, knight,
// pawn): the target and the square that must be empty for it, a knight's leg
// or a bishop's eye. Steps that nothing can block name square 0, a margin
// square, which is always empty.
struct Step {
  uint8_t to;
  uint8_t block;
};

// Each stepping piece's steps from a square, for its side, in the order the
// generator tries them; built by the rules the generator follows, so a step
// is listed exactly when it obeys the piece's rule on an empty board. Rooks
// and cannons have none.
template <typename Visit>
constexpr void ForEachStep(Side side, int kind, int from, Visit visit) {
  switch (kind) {
    case KING:
      for (int d : KING_STEPS)
        if (IN_PALACE[from + d]) visit(from + d, 0);
      break;
    case ADVISOR:
      for (int d : ADVISOR_STEPS)
        if (IN_PALACE[from + d]) visit(from + d, 0);
      break;
    case BISHOP:
      // The target needs no board test: an eye on the board and on the
      // mover's half leads to a target on both.
      for (int d : ADVISOR_STEPS) {
        const int eye = from + d;
        if (ON_BOARD[eye] && OnOwnHalf(eye, side)) visit(eye + d, eye);
      }
      break;
    case KNIGHT:
      for (int j = 0; j < 4; ++j)
        for (int k = 2 * j; k < 2 * j + 2; ++k)
          if (ON_BOARD[from + KNIGHT_STEPS[k]]) visit(from + KNIGHT_STEPS[k], from + KING_STEPS[j]);
      break;
    case PAWN: {
      const int forward = from + ForwardStep(side);
      if (ON_BOARD[forward]) visit(forward, 0);
      // Sideways only once across the river; never backwards.
      if (!OnOwnHalf(from, side)) {
        if (ON_BOARD[from - 1]) visit(from - 1, 0);
        if (ON_BOARD[from + 1]) visit(from + 1, 0);
      }
      break;
    }
    default:
      break;
  }
}

constexpr int CountSteps(int onlyKind) {
  int n = 0;
  for (int side = 0; side < 2; ++side)
    for (int kind = 0; kind < 7; ++kind)
      for (int from = 0; from < 256; ++from)
        if (ON_BOARD[from] && (onlyKind < 0 || kind == onlyKind)) ForEachStep(Side(side), kind, from, [&](int, int) { ++n; });
  return n;
}
// A knight has 508 moves over the empty board (254 pairs of squares, each
// way), for each side.
static_assert(CountSteps(KNIGHT) == 2 * 508);

// Squares near a stepping piece as one 45-bit mask: the nine files of the
// ranks two above to two below it, nine bits a rank, file 3 lowest.
constexpr uint64_t NearBit(int from, int sq) {
  return uint64_t(1) << ((RankOf(sq) - RankOf(from) + 2) * 9 + FileOf(sq) - 3);
}

// The 90 playing squares numbered 0..89, rank by rank: the tables below
// hold only those.
constexpr int PointOf(int sq) { return (RankOf(sq) - 3) * 9 + FileOf(sq) - 3; }
static_assert(PointOf(0x33) == 0 && PointOf(0xCB) == 89);

// Slot (side * 7 + kind) * 90 + PointOf(square): a stepping piece of that
// side and kind on that square. Its steps are steps[first[slot]] ..
// steps[first[slot + 1] - 1]; reach[slot] holds the squares they land on,
// as NearBit masks. Rooks and cannons have empty slots. Small tables, so
// that the generator's lookups stay in the fastest cache.
struct StepTable {
  std::array<uint16_t, 14 * 90 + 1> first{};
  std::array<uint64_t, 14 * 90> reach{};
  std::array<Step, CountSteps(-1)> steps{};
};

constexpr StepTable STEP_TABLE = [] {
  StepTable t;
  int n = 0;
  for (int slot = 0; slot < 14 * 90; ++slot) {
    t.first[slot] = uint16_t(n);
    const Side side = Side(slot / (7 * 90));
    const int kind = slot / 90 % 7, point = slot % 90;
    const int from = SquareAt(point / 9 + 3, point % 9 + 3);
    ForEachStep(side, kind, from, [&](int to, int block) {
      t.steps[n++] = {uint8_t(to), uint8_t(block)};
      // A target off the board (only a bishop standing where no bishop can
      // go gets one) never holds a piece to capture.
      if (ON_BOARD[to]) t.reach[slot] |= NearBit(from, to);
    });
  }
  t.first[14 * 90] = uint16_t(n);
  return t;
}();

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

  // For the captures' reach test: the opponent's pieces near each rank, in
  // the layout of NearBit, built once from the rank masks of its set.
  [[maybe_unused]] uint64_t oppNear[16];
  if constexpr (CAPTURES_ONLY) {
    uint64_t ranks[16];
    for (int word = 0; word < 4; ++word)
      for (int k = 0; k < 4; ++k) ranks[word * 4 + k] = (index.sidePieces[1 - side][word] >> (16 * k + 3)) & 0x1FF;
    // Each rank's mask is the one of the rank before it moved down by a
    // rank, with the next rank added on top; rank 0 is margin.
    uint64_t near = ranks[1] << 9 | ranks[2] << 18 | ranks[3] << 27 | ranks[4] << 36;
    for (int r = 3; r <= 12; ++r) {
      near = near >> 9 | ranks[r + 2] << 36;
      oppNear[r] = near;
    }
  }

  // Own pieces in ascending square order, the order of a scan of the board:
  // the set bits of the four words, low word first, lowest bit first.
  for (int word = 0; word < 4; ++word) {
    for (uint64_t bits = index.sidePieces[side][word]; bits != 0; bits &= bits - 1) {
      const int from = word * 64 + std::countr_zero(bits);
      const int kind = KindOf(squares[from]);
      if (kind == ROOK) {
        // KING_STEPS order.
        rookLine.template operator()<-16>(from);
        rookLine.template operator()<-1>(from);
        rookLine.template operator()<1>(from);
        rookLine.template operator()<16>(from);
      } else if (kind == CANNON) {
        cannonLine.template operator()<-16>(from);
        cannonLine.template operator()<-1>(from);
        cannonLine.template operator()<1>(from);
        cannonLine.template operator()<16>(from);
      } else {
        // One loop for every stepping piece instead of a branch per kind.
        const int slot = (side * 7 + kind) * 90 + PointOf(from);
        if constexpr (CAPTURES_ONLY) {
          // Most stepping pieces have no opponent piece within reach; those
          // are passed over without trying their steps one by one.
          if ((oppNear[RankOf(from)] & STEP_TABLE.reach[slot]) == 0) continue;
        }
        const Step* step = &STEP_TABLE.steps[STEP_TABLE.first[slot]];
        const Step* end = &STEP_TABLE.steps[0] + STEP_TABLE.first[slot + 1];
        for (; step != end; ++step)
          if (squares[step->block] == 0 && lands(step->to)) emit(from, step->to);
      }
    }
  }
  return count;
}

static_assert(KING_STEPS[0] == -16 && KING_STEPS[1] == -1 && KING_STEPS[2] == 1 && KING_STEPS[3] == 16,
              "the line walks above are written out in this order");

int Position::ListMoves(Move* moves, bool capturesOnly) const {
  return capturesOnly ? ListMovesOf<true>(moves) : ListMovesOf<false>(moves);
}

}  // namespace lanterra
