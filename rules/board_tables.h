// The read-only tables the move rules and the evaluation rest on. All are
// built at compile time, either from their rule or from the grids below.
#pragma once

#include <array>
#include <cstdint>

#include "rules/types.h"

namespace lanterra {

using SquareTable = std::array<uint8_t, 256>;
using DiffTable = std::array<int8_t, 512>;
// A 10 x 9 grid of the playing area, rank 3 first, file 3 first.
using Grid = std::array<std::array<uint8_t, 9>, 10>;

inline constexpr SquareTable ON_BOARD = [] {
  SquareTable t{};
  for (int sq = 0; sq < 256; ++sq) t[sq] = RankOf(sq) >= 3 && RankOf(sq) <= 12 && FileOf(sq) >= 3 && FileOf(sq) <= 11;
  return t;
}();

// Both palaces in one table: a king or advisor never leaves its own, so the
// generator needs no side test.
inline constexpr SquareTable IN_PALACE = [] {
  SquareTable t{};
  for (int sq = 0; sq < 256; ++sq) {
    int r = RankOf(sq), f = FileOf(sq);
    t[sq] = f >= 6 && f <= 8 && ((r >= 3 && r <= 5) || (r >= 10 && r <= 12));
  }
  return t;
}();

// The only squares a bishop or an advisor can ever reach, both sides' in one
// table (a square's half says whose it is): a bishop keeps to seven points of
// its own half, an advisor to the corners and centre of its palace. A position
// with one elsewhere would let the generator step off the board.
inline constexpr SquareTable BISHOP_SQUARES = [] {
  SquareTable t{};
  for (Square sq : {SquareAt(8, 5), SquareAt(8, 9), SquareAt(10, 3), SquareAt(10, 7), SquareAt(10, 11),
                    SquareAt(12, 5), SquareAt(12, 9)})
    t[sq] = t[FlipSquare(sq)] = 1;
  return t;
}();
inline constexpr SquareTable ADVISOR_SQUARES = [] {
  SquareTable t{};
  for (Square sq : {SquareAt(10, 6), SquareAt(10, 8), SquareAt(11, 7), SquareAt(12, 6), SquareAt(12, 8)})
    t[sq] = t[FlipSquare(sq)] = 1;
  return t;
}();

// The order of each step table fixes the order in which moves are listed
// and attacks are tested.
inline constexpr std::array<int8_t, 4> KING_STEPS = {-16, -1, 1, 16};
inline constexpr std::array<int8_t, 4> ADVISOR_STEPS = {-17, -15, 15, 17};
// Pair j holds the two knight steps whose leg is from + KING_STEPS[j].
inline constexpr std::array<int8_t, 8> KNIGHT_STEPS = {-33, -31, -18, 14, -14, 18, 31, 33};
// Seen from a king, pair j holds the two squares from which a knight attacks
// through the leg king + ADVISOR_STEPS[j].
inline constexpr std::array<int8_t, 8> KNIGHT_ATTACKER_STEPS = {-33, -18, -31, -14, 14, 31, 18, 33};

// Indexed by to - from + 256: 1 a king step, 2 an advisor step, 3 a bishop step.
inline constexpr DiffTable STEP_SPAN = [] {
  DiffTable t{};
  for (int d : {-16, -1, 1, 16}) t[d + 256] = 1;
  for (int d : {-17, -15, 15, 17}) t[d + 256] = 2;
  for (int d : {-34, -30, 30, 34}) t[d + 256] = 3;
  return t;
}();

// Indexed by to - from + 256: the offset of the knight's leg, 0 if the
// difference is no knight move.
inline constexpr DiffTable KNIGHT_LEG = [] {
  DiffTable t{};
  for (int j = 0; j < 4; ++j) {
    t[KNIGHT_STEPS[2 * j] + 256] = KING_STEPS[j];
    t[KNIGHT_STEPS[2 * j + 1] + 256] = KING_STEPS[j];
  }
  return t;
}();

namespace detail {

constexpr int CountNonZero(const DiffTable& t) {
  int n = 0;
  for (int8_t v : t) n += v != 0;
  return n;
}

constexpr SquareTable FromGrid(const Grid& g) {
  SquareTable t{};
  for (int r = 0; r < 10; ++r)
    for (int f = 0; f < 9; ++f) t[SquareAt(r + 3, f + 3)] = g[r][f];
  return t;
}

constexpr PieceCode Red(PieceKind kind) { return PieceOf(SIDE_RED, kind); }
constexpr PieceCode Black(PieceKind kind) { return PieceOf(SIDE_BLACK, kind); }
constexpr PieceCode NO_PIECE = 0;

// A setup from red's back rank (files 3..11), its two cannons and, when
// redPawns, its five pawns; black always stands as in the normal start.
constexpr SquareTable MakeSetup(std::array<PieceCode, 9> redBackRank, bool redPawns) {
  SquareTable t{};
  constexpr std::array<PieceKind, 9> BACK_RANK = {ROOK, KNIGHT, BISHOP, ADVISOR, KING, ADVISOR, BISHOP, KNIGHT, ROOK};
  for (int f = 0; f < 9; ++f) {
    t[SquareAt(3, f + 3)] = Black(BACK_RANK[f]);
    t[SquareAt(12, f + 3)] = redBackRank[f];
  }
  t[SquareAt(5, 4)] = t[SquareAt(5, 10)] = Black(CANNON);
  t[SquareAt(10, 4)] = t[SquareAt(10, 10)] = Red(CANNON);
  for (int f = 3; f <= 11; f += 2) {
    t[SquareAt(6, f)] = Black(PAWN);
    if (redPawns) t[SquareAt(9, f)] = Red(PAWN);
  }
  return t;
}

}  // namespace detail

static_assert(detail::CountNonZero(STEP_SPAN) == 12);
static_assert(detail::CountNonZero(KNIGHT_LEG) == 8);
static_assert(STEP_SPAN[256] == 0 && KNIGHT_LEG[256] == 0);

// Setup 0 is the normal start; 1..3 are red's handicaps: without the left
// knight, without both knights, without bishops, advisors and pawns.
inline constexpr std::array<SquareTable, 4> START_SETUPS = [] {
  using detail::NO_PIECE, detail::Red;
  const PieceCode R = Red(ROOK), N = Red(KNIGHT), B = Red(BISHOP), A = Red(ADVISOR), K = Red(KING);
  return std::array<SquareTable, 4>{
      detail::MakeSetup({R, N, B, A, K, A, B, N, R}, true),
      detail::MakeSetup({R, NO_PIECE, B, A, K, A, B, N, R}, true),
      detail::MakeSetup({R, NO_PIECE, B, A, K, A, B, NO_PIECE, R}, true),
      detail::MakeSetup({R, N, NO_PIECE, NO_PIECE, K, NO_PIECE, NO_PIECE, N, R}, false),
  };
}();

inline constexpr Grid KNIGHT_GRID = {{
    { 90,  90,  90,  96,  90,  96,  90,  90,  90},
    { 90,  96, 103,  97,  94,  97, 103,  96,  90},
    { 92,  98,  99, 103,  99, 103,  99,  98,  92},
    { 93, 108, 100, 107, 100, 107, 100, 108,  93},
    { 90, 100,  99, 103, 104, 103,  99, 100,  90},
    { 90,  98, 101, 102, 103, 102, 101,  98,  90},
    { 92,  94,  98,  95,  98,  95,  98,  94,  92},
    { 93,  92,  94,  95,  92,  95,  94,  92,  93},
    { 85,  90,  92,  93,  78,  93,  92,  90,  85},
    { 88,  85,  90,  88,  90,  88,  90,  85,  88},
}};
inline constexpr Grid ROOK_GRID = {{
    {206, 208, 207, 213, 214, 213, 207, 208, 206},
    {206, 212, 209, 216, 233, 216, 209, 212, 206},
    {206, 208, 207, 214, 216, 214, 207, 208, 206},
    {206, 213, 213, 216, 216, 216, 213, 213, 206},
    {208, 211, 211, 214, 215, 214, 211, 211, 208},
    {208, 212, 212, 214, 215, 214, 212, 212, 208},
    {204, 209, 204, 212, 214, 212, 204, 209, 204},
    {198, 208, 204, 212, 212, 212, 204, 208, 198},
    {200, 208, 206, 212, 200, 212, 206, 208, 200},
    {194, 206, 204, 212, 200, 212, 204, 206, 194},
}};
inline constexpr Grid CANNON_GRID = {{
    {100, 100,  96,  91,  90,  91,  96, 100, 100},
    { 98,  98,  96,  92,  89,  92,  96,  98,  98},
    { 97,  97,  96,  91,  92,  91,  96,  97,  97},
    { 96,  99,  99,  98, 100,  98,  99,  99,  96},
    { 96,  96,  96,  96, 100,  96,  96,  96,  96},
    { 95,  96,  99,  96, 100,  96,  99,  96,  95},
    { 96,  96,  96,  96,  96,  96,  96,  96,  96},
    { 97,  96, 100,  99, 101,  99, 100,  96,  97},
    { 96,  97,  98,  98,  98,  98,  98,  97,  96},
    { 96,  96,  97,  99,  99,  99,  97,  96,  96},
}};
inline constexpr Grid PAWN_GRID = {{
    {  9,   9,   9,  11,  13,  11,   9,   9,   9},
    { 19,  24,  34,  42,  44,  42,  34,  24,  19},
    { 19,  24,  32,  37,  37,  37,  32,  24,  19},
    { 19,  23,  27,  29,  30,  29,  27,  23,  19},
    { 14,  18,  20,  27,  29,  27,  20,  18,  14},
    {  7,   0,  13,   0,  16,   0,  13,   0,   7},
    {  7,   0,   7,   0,  15,   0,   7,   0,   7},
    {  0,   0,   0,   0,   0,   0,   0,   0,   0},
    {  0,   0,   0,   0,   0,   0,   0,   0,   0},
    {  0,   0,   0,   0,   0,   0,   0,   0,   0},
}};

namespace detail {

constexpr SquareTable FromPoints(std::initializer_list<std::array<int, 3>> points) {
  SquareTable t{};
  for (auto [rank, file, value] : points) t[SquareAt(rank, file)] = uint8_t(value);
  return t;
}

}  // namespace detail

// Written from red's point of view; a black piece is looked up at
// FlipSquare(sq). These sums are the engine's whole evaluation.
inline constexpr std::array<SquareTable, 7> PIECE_SQUARE_VALUES = {
    detail::FromPoints({{10, 6, 1}, {10, 7, 1}, {10, 8, 1}, {11, 6, 2}, {11, 7, 2}, {11, 8, 2},
                        {12, 6, 11}, {12, 7, 15}, {12, 8, 11}}),
    detail::FromPoints({{10, 6, 20}, {10, 8, 20}, {11, 7, 23}, {12, 6, 20}, {12, 8, 20}}),
    detail::FromPoints({{8, 5, 20}, {8, 9, 20}, {10, 3, 18}, {10, 7, 23}, {10, 11, 18},
                        {12, 5, 20}, {12, 9, 20}}),
    detail::FromGrid(KNIGHT_GRID),
    detail::FromGrid(ROOK_GRID),
    detail::FromGrid(CANNON_GRID),
    detail::FromGrid(PAWN_GRID),
};

namespace detail {

constexpr int SetupScore(int setup, Side side) {
  int sum = 0;
  for (int sq = 0; sq < 256; ++sq) {
    const PieceCode code = START_SETUPS[setup][sq];
    if (code != 0 && SideOf(code) == side)
      sum += PIECE_SQUARE_VALUES[KindOf(code)][side == SIDE_RED ? sq : FlipSquare(sq)];
  }
  return sum;
}

constexpr int Count(const SquareTable& t) {
  int n = 0;
  for (uint8_t v : t) n += v != 0;
  return n;
}

}  // namespace detail

static_assert(detail::Count(ON_BOARD) == 90);
static_assert(detail::Count(IN_PALACE) == 18);
static_assert(detail::Count(BISHOP_SQUARES) == 14 && detail::Count(ADVISOR_SQUARES) == 10);
static_assert(detail::Count(START_SETUPS[0]) == 32 && detail::Count(START_SETUPS[3]) == 23);
static_assert(detail::SetupScore(0, SIDE_RED) == 888 && detail::SetupScore(0, SIDE_BLACK) == 888);
static_assert(detail::SetupScore(1, SIDE_RED) == 803 && detail::SetupScore(2, SIDE_RED) == 718);
static_assert(detail::SetupScore(3, SIDE_RED) == 765 && detail::SetupScore(3, SIDE_BLACK) == 888);

}  // namespace lanterra
