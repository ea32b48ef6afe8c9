#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <set>
#include <vector>

#include "rules/board_tables.h"
#include "rules/perft.h"
#include "rules/search_moves.h"
#include "tests/test_positions.h"

namespace lanterra {
namespace {

using test::FromFen;
using test::Iccs;

std::vector<Move> List(const Position& pos, int capturesOnly) {
  Move moves[MAX_MOVES_PER_POSITION];
  int n = pos.ListMoves(moves, capturesOnly);
  return {moves, moves + n};
}

TEST(ListMoves, StartPositionOrder) {
  Position pos;
  pos.SetUpStart(0);
  std::vector<Move> all = List(pos, 0);
  ASSERT_EQ(all.size(), 44u);
  const std::vector<Move> head = {MoveOf(0x93, 0x83), MoveOf(0x95, 0x85), MoveOf(0x97, 0x87), MoveOf(0x99, 0x89),
                                  MoveOf(0x9B, 0x8B), MoveOf(0xA4, 0x94), MoveOf(0xA4, 0x84), MoveOf(0xA4, 0x74),
                                  MoveOf(0xA4, 0x64), MoveOf(0xA4, 0x34), MoveOf(0xA4, 0xA3), MoveOf(0xA4, 0xA5)};
  EXPECT_TRUE(std::equal(head.begin(), head.end(), all.begin()));
  EXPECT_EQ(all[all.size() - 2], MoveOf(0xCB, 0xBB));
  EXPECT_EQ(all.back(), MoveOf(0xCB, 0xAB));
  EXPECT_EQ(List(pos, 1), (std::vector<Move>{MoveOf(0xA4, 0x34), MoveOf(0xAA, 0x3A)}));

  SearchMoves::DoNullMove(pos);
  EXPECT_EQ(List(pos, 0).size(), 44u);
  EXPECT_EQ(List(pos, 1), (std::vector<Move>{MoveOf(0x54, 0xC4), MoveOf(0x5A, 0xCA)}));
}

// Each case: a position and the exact moves of the piece on one square.
TEST(ListMoves, PieceRules) {
  struct Case { const char* fen; const char* from; std::vector<const char*> moves; const char* why; };
  const std::vector<Case> cases = {
      {"4k4/9/9/9/9/9/9/9/4N4/3K5 w", "e1", {"d3", "f3", "c2", "c0", "g2", "g0"}, "knight in front of its palace"},
      {"4k4/9/9/9/9/9/9/4P4/4N4/3K5 w", "e1", {"c2", "c0", "g2", "g0"}, "knight hobbled forward"},
      {"3k5/9/9/9/9/9/9/9/9/2B1K4 w", "c0", {"a2", "e2"}, "bishop from its start"},
      {"3k5/9/9/9/9/9/9/9/3P5/2B1K4 w", "c0", {"a2"}, "bishop eye blocked"},
      {"3k5/9/9/9/9/2B6/9/9/9/4K4 w", "c4", {"a2", "e2"}, "bishop on the river bank never crosses"},
      {"3k5/9/9/9/9/9/9/9/9/4K4 w", "e0", {"e1", "d0", "f0"}, "king stays in the palace"},
      {"4k4/9/9/9/9/9/9/9/4A4/4K4 w", "e1", {"d2", "f2", "d0", "f0"}, "advisor from the palace centre"},
      {"3k5/9/9/9/9/9/2P6/9/9/4K4 w", "c3", {"c4"}, "pawn on its own half: forward only"},
      {"3k5/9/9/9/2P6/9/9/9/9/4K4 w", "c5", {"c6", "b5", "d5"}, "pawn across the river"},
      {"3k5/2P6/9/9/9/9/9/9/9/4K4 w", "c8", {"c9", "b8", "d8"}, "pawn one rank from the edge"},
      {"2P1k4/9/9/9/9/9/9/9/9/3K5 w", "c9", {"b9", "d9"}, "pawn on the far edge: sideways only"},
      {"3k5/9/9/9/9/9/9/9/9/C2rK4 w", "a0", {"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9", "b0", "c0"},
       "cannon whose screen is followed by its own king"},
      {"3k5/9/9/9/9/9/9/9/9/4K2Cr w", "h0", {"h1", "h2", "h3", "h4", "h5", "h6", "h7", "h8", "h9", "g0", "f0"},
       "cannon with an opponent piece beside it and nothing behind"},
      {"3k5/9/9/9/9/9/9/9/9/CPR1K4 w", "a0", {"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"},
       "cannon whose screen is followed by its own piece"},
      {"3k5/9/9/9/9/9/r8/9/P8/R3K4 w", "a0", {"b0", "c0", "d0"}, "rook blocked by its own pawn"},
  };
  for (const Case& c : cases) {
    Position pos = FromFen(c.fen);
    Square from = ParseIccsSquare(c.from);
    std::vector<Move> got;
    for (Move mv : List(pos, 0))
      if (MoveFrom(mv) == from) got.push_back(mv);
    std::vector<Move> want;
    for (const char* to : c.moves) want.push_back(MoveOf(from, ParseIccsSquare(to)));
    EXPECT_EQ(got, want) << c.why;
  }
}

TEST(ListMoves, CaptureOntoTheKingIsListed) {
  Position pos = FromFen("4k4/9/9/9/9/9/9/9/9/3KR4 b");
  SearchMoves::DoNullMove(pos);
  std::vector<Move> captures = List(pos, 1);
  EXPECT_NE(std::find(captures.begin(), captures.end(), Iccs("e0e9")), captures.end());
}

// The generator and IsPseudoLegal must agree on every pair of playing
// squares, and the captures-only list must be the all-moves list filtered.
TEST(ListMoves, AgreesWithIsPseudoLegalOverRandomPositions) {
  std::mt19937 rng(12345);
  for (int game = 0; game < 60; ++game) {
    Position pos;
    pos.SetUpStart(game % 4);
    test::RandomPlay(pos, rng, 10 + game * 3);
    std::vector<Move> all = List(pos, 0);
    std::set<Move> listed(all.begin(), all.end());
    for (int from = 0; from < 256; ++from) {
      if (!ON_BOARD[from]) continue;
      for (int to = 0; to < 256; ++to) {
        if (!ON_BOARD[to]) continue;
        Move mv = MoveOf(from, to);
        ASSERT_EQ(pos.IsPseudoLegal(mv) != 0, listed.count(mv) == 1) << ToFen(pos) << " " << IccsMove(mv);
      }
    }
    std::vector<Move> filtered;
    for (Move mv : all)
      if (pos.squares[MoveTo(mv)] != 0) filtered.push_back(mv);
    EXPECT_EQ(List(pos, 1), filtered);
  }
  EXPECT_EQ(Position().IsPseudoLegal(0), 0);
}

// Where a move stands in the generation order: its from-square, then the
// index of its step in the piece's step table, then how many steps it takes.
std::array<int, 3> OrderKey(const Position& pos, Move mv) {
  const int from = MoveFrom(mv), diff = MoveTo(mv) - from;
  const int kind = KindOf(pos.squares[from]);
  auto stepIndex = [&](auto steps, int times) {
    for (int i = 0; i < int(steps.size()); ++i)
      if (diff == times * steps[i]) return i;
    return -1;
  };
  switch (kind) {
    case KNIGHT: return {from, stepIndex(KNIGHT_STEPS, 1), 1};
    case BISHOP: return {from, stepIndex(ADVISOR_STEPS, 2), 1};
    case ADVISOR: return {from, stepIndex(ADVISOR_STEPS, 1), 1};
    case PAWN: return {from, diff == -1 ? 1 : diff == 1 ? 2 : 0, 1};
    default:  // king, rook, cannon: along KING_STEPS
      for (int i = 0; i < 4; ++i) {
        const int d = KING_STEPS[i];
        const bool sameLine = (d == 1 || d == -1) ? RankOf(from) == RankOf(from + diff) : FileOf(diff) == 0;
        if (sameLine && diff % d == 0 && diff / d > 0) return {from, i, diff / d};
      }
      return {from, -1, 0};
  }
}

// With the set of moves checked against IsPseudoLegal above, a list whose
// keys strictly rise is exactly the generator's documented list.
TEST(ListMoves, ComeOutInTheDocumentedOrder) {
  std::mt19937 rng(777);
  for (int game = 0; game < 200; ++game) {
    Position pos;
    pos.SetUpStart(game % 4);
    test::RandomPlay(pos, rng, game % 120);
    for (int capturesOnly : {0, 1}) {
      std::vector<Move> moves = List(pos, capturesOnly);
      for (size_t i = 1; i < moves.size(); ++i)
        ASSERT_LT(OrderKey(pos, moves[i - 1]), OrderKey(pos, moves[i]))
            << ToFen(pos) << " " << IccsMove(moves[i - 1]) << " " << IccsMove(moves[i]);
    }
  }
}

TEST(IsPseudoLegal, RefusesBrokenShapes) {
  struct Case { const char* fen; const char* move; const char* why; };
  const Case cases[] = {
      {"3k5/9/9/9/9/9/9/1C7/9/4K4 w", "b2b9", "a cannon move along an open file is fine, but not:"},
      {"3k5/9/9/9/9/9/9/1C7/1P7/4K4 w", "b2b0", "cannon onto an empty square across a screen"},
      {"1r1k5/9/9/9/9/9/9/1C7/9/4K4 w", "b2b9", "cannon capture without a screen"},
      {"1r1k5/1p7/1p7/9/9/9/9/1C7/9/4K4 w", "b2b9", "cannon capture across two pieces"},
      {"1r1k5/1p7/9/9/9/9/9/1R7/9/4K4 w", "b2b9", "rook capture with a piece between"},
      {"3k5/9/9/9/9/9/2P6/9/9/4K4 w", "c3b3", "pawn sideways before the river"},
      {"3k5/9/9/9/2P6/9/9/9/9/4K4 w", "c5c4", "pawn backwards"},
      {"3k5/9/9/9/9/2B6/9/9/9/4K4 w", "c4e6", "bishop across the river"},
      {"3k5/9/9/9/9/9/9/9/3P5/2B1K4 w", "c0e2", "bishop with its eye occupied"},
      {"5k3/9/9/9/9/9/9/3K5/9/9 w", "d2c2", "king out of the palace"},
      {"3k5/9/9/9/9/9/9/3A5/9/4K4 w", "d2c3", "advisor out of the palace"},
      {"3k5/9/9/9/9/9/9/9/9/4K4 w", "d9d8", "a piece of the other side"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    Position pos = FromFen(cases[i].fen);
    EXPECT_EQ(pos.IsPseudoLegal(Iccs(cases[i].move)), i == 0 ? 1 : 0) << cases[i].why;
  }
}

TEST(IsMated, MateStalemateAndStart) {
  Position start;
  start.SetUpStart(0);
  EXPECT_EQ(start.IsMated(), 0);
  SearchMoves::DoNullMove(start);
  EXPECT_EQ(start.IsMated(), 0);

  Position mate = FromFen("R3k4/R8/9/9/9/9/9/9/9/3K5 b");
  const Position before = mate;
  EXPECT_EQ(mate.IsInCheck(), 1);
  EXPECT_EQ(mate.IsMated(), 1);
  EXPECT_EQ(mate.zobrist, before.zobrist);
  EXPECT_EQ(List(mate, 0).size(), 3u);

  // Not in check, yet every king move is refused: stalemate loses too.
  Position stalemate = FromFen("4k4/R8/5R3/9/9/9/9/9/9/3K5 b");
  EXPECT_EQ(stalemate.IsInCheck(), 0);
  EXPECT_EQ(stalemate.IsMated(), 1);
}

// Counts agree with Fairy-Stockfish, an independent engine.
TEST(Perft, StartAndPublishedPositions) {
  struct Case { const char* fen; std::vector<uint64_t> counts; };
  const Case cases[] = {
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", {44, 1920, 79666, 3290240}},
      {"r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w", {38, 1128, 43929}},
      {"1cbak4/9/n2a5/2p1p3p/5cp2/2n2N3/6PCP/3AB4/2C6/3A1K1N1 w", {7, 281, 8620}},
      {"5a3/3k5/3aR4/9/5r3/5n3/9/3A1A3/5K3/2BC2B2 w", {25, 424, 9850}},
      {"CRN1k1b2/3ca4/4ba3/9/2nr5/9/9/4B4/4A4/4KA3 w", {28, 516, 14808}},
      {"R1N1k1b2/9/3aba3/9/2nr5/2B6/9/4B4/4A4/4KA3 w", {21, 364, 7626}},
  };
  for (const Case& c : cases) {
    Position pos = FromFen(c.fen);
    for (size_t d = 0; d < c.counts.size(); ++d) EXPECT_EQ(Perft(pos, int(d) + 1), c.counts[d]) << c.fen << " depth " << d + 1;
  }
}

}  // namespace
}  // namespace lanterra
