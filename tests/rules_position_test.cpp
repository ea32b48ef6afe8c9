#include <gtest/gtest.h>

#include <cstring>

#include "rules/board_tables.h"
#include "tests/test_positions.h"

namespace lanterra {
namespace {

using test::FromFen;
using test::Iccs;

bool SamePosition(const Position& a, const Position& b) {
  return a.side == b.side && std::memcmp(a.squares, b.squares, 256) == 0 && a.redScore == b.redScore &&
         a.blackScore == b.blackScore && a.distance == b.distance && a.historyCount == b.historyCount &&
         a.zobrist == b.zobrist;
}

TEST(SquareTransforms, AreInvolutionsOnThePlayingArea) {
  for (int sq = 0; sq < 256; ++sq) {
    if (!ON_BOARD[sq]) continue;
    EXPECT_EQ(FlipSquare(FlipSquare(sq)), sq);
    EXPECT_EQ(MirroredSquare(MirroredSquare(sq)), sq);
    EXPECT_TRUE(ON_BOARD[FlipSquare(sq)]);
    EXPECT_EQ(RankOf(MirroredSquare(sq)), RankOf(sq));
    if (FileOf(sq) == 7) {
      EXPECT_EQ(MirroredSquare(sq), sq);
    }
    // Every step a piece can take from a playing square stays in the array.
    for (int d : KNIGHT_STEPS) EXPECT_TRUE(sq + d >= 0 && sq + d < 256);
    for (int d : ADVISOR_STEPS) EXPECT_TRUE(sq + 2 * d >= 0 && sq + 2 * d < 256);
  }
  EXPECT_EQ(FlipSquare(0xC7), 0x37);
  EXPECT_EQ(MirroredSquare(0xC4), 0xCA);
}

TEST(SetUpStart, ScoresKeysAndHistoryOfEverySetup) {
  struct Case { int setup, red, black, staticScore; };
  for (Case c : {Case{0, 888, 888, 3}, Case{1, 803, 888, -82}, Case{2, 718, 888, -167}, Case{3, 765, 888, -120}}) {
    Position pos;
    pos.SetUpStart(c.setup);
    EXPECT_EQ(pos.redScore, c.red) << c.setup;
    EXPECT_EQ(pos.blackScore, c.black) << c.setup;
    EXPECT_EQ(pos.StaticScore(), c.staticScore) << c.setup;
    EXPECT_EQ(pos.side, 0);
    EXPECT_EQ(pos.historyCount, 1);
    EXPECT_EQ(pos.history[0].keyBefore, pos.zobrist.key);
    EXPECT_TRUE(pos.IsConsistent());
  }
  Position start;
  start.SetUpStart(0);
  EXPECT_EQ(start.zobrist, (ZobristKey{0xE6DB463E, 0x8F899C24, 0x052656D5}));
  EXPECT_TRUE(SamePosition(start, FromFen(std::string(START_FEN))));
}

TEST(IsInCheck, AttackPatterns) {
  struct Case { const char* fen; int inCheck; const char* why; };
  const Case cases[] = {
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", 0, "start, red"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b", 0, "start, black"},
      {"4k4/9/9/9/9/9/9/4P4/9/4K4 w", 0, "a piece between the kings"},
      {"9/4k4/9/9/9/9/9/9/4p4/4K4 w", 1, "pawn in front of the king"},
      {"3k5/9/9/9/9/9/9/9/9/3pK4 w", 1, "pawn beside the king"},
      {"3k5/9/9/9/9/9/9/9/4K4/4p4 w", 0, "pawn behind the king"},
      {"3k5/9/9/9/9/9/9/5n3/9/4K4 w", 1, "knight, two ranks one file"},
      {"3k5/9/9/9/9/9/9/5n3/5P3/4K4 w", 0, "knight whose leg is blocked"},
      {"3k5/9/9/9/9/9/9/9/6n2/4K4 w", 1, "knight, one rank two files"},
      {"3k5/9/9/9/9/9/9/9/5Pn2/4K4 w", 0, "knight, one rank two files, leg blocked"},
      {"3k5/9/9/9/9/9/9/9/3n5/4K4 w", 0, "knight diagonally next to the king"},
      {"3k5/9/4c4/9/9/9/4P4/9/9/4K4 w", 1, "cannon over one screen"},
      {"3k5/9/4c4/9/9/9/9/9/9/4K4 w", 0, "cannon with no screen"},
      {"3k5/9/4c4/9/4p4/9/4P4/9/9/4K4 w", 0, "cannon over two screens"},
      {"3k5/9/4r4/9/9/9/4P4/9/9/4K4 w", 0, "rook behind a piece"},
      {"3k5/9/9/9/9/9/9/9/9/r3K4 w", 1, "rook along the rank"},
      {"R3k4/R8/9/9/9/9/9/9/9/3K5 b", 1, "two rooks, black king in the corner of its palace"},
      {"4k4/R8/5R3/9/9/9/9/9/9/3K5 b", 0, "rooks guard the king's squares but do not attack it"},
  };
  for (const Case& c : cases) EXPECT_EQ(FromFen(c.fen).IsInCheck(), c.inCheck) << c.why;

  // A FEN with the kings facing is refused, so build one by hand.
  Position facing;
  facing.ClearPosition();
  facing.PlacePiece(0x37, 16 + KING);
  facing.PlacePiece(0xC7, 8 + KING);
  EXPECT_EQ(facing.IsInCheck(), 1);
  facing.ToggleSide();
  EXPECT_EQ(facing.IsInCheck(), 1);
}

// The check test looks outward from the king; the generator looks outward
// from the attackers. They must agree, also on the boards that a refused
// move leaves for a moment, where the mover's own king is attacked.
TEST(IsInCheck, MeansAnOpponentCaptureOfTheKingOrFacingKings) {
  auto attacked = [](Position& pos) {
    const PieceCode king = PieceCode(SideBit(pos.side) + KING);
    pos.ToggleSide();
    Move captures[MAX_MOVES_PER_POSITION];
    const int n = pos.ListMoves(captures, 1);
    pos.ToggleSide();
    for (int i = 0; i < n; ++i)
      if (pos.squares[MoveTo(captures[i])] == king) return 1;
    // Facing kings: the first piece on the king's file, either way, is the other king.
    for (int sq = 0; sq < 256; ++sq) {
      if (pos.squares[sq] != king) continue;
      for (int d : {-16, 16}) {
        int s = sq + d;
        while (ON_BOARD[s] && pos.squares[s] == 0) s += d;
        if (ON_BOARD[s] && pos.squares[s] == PieceCode(OpponentBit(pos.side) + KING)) return 1;
      }
    }
    return 0;
  };
  std::mt19937 rng(4242);
  int checks = 0;
  for (int game = 0; game < 150; ++game) {
    Position pos;
    pos.SetUpStart(game % 4);
    test::RandomPlay(pos, rng, 20 + game % 100);
    Move moves[MAX_MOVES_PER_POSITION];
    const int n = pos.ListMoves(moves, 0);
    for (int i = 0; i < n; ++i) {
      const PieceCode captured = test::PutOnBoard(pos, moves[i]);
      for (int turn = 0; turn < 2; ++turn) {
        const int expected = attacked(pos);
        ASSERT_EQ(pos.IsInCheck(), expected) << ToFen(pos);
        checks += expected;
        pos.ToggleSide();
      }
      test::TakeOffBoard(pos, moves[i], captured);
    }
  }
  EXPECT_GT(checks, 200);
}

TEST(DoMove, UndoRestoresEverythingAndRefusalChangesNothing) {
  Position pos = FromFen("rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w");
  const Position before = pos;
  ASSERT_EQ(pos.DoMove(Iccs("b2b9")), 1);  // cannon takes knight
  EXPECT_EQ(pos.LastRecord().captured, 16 + KNIGHT);
  EXPECT_EQ(pos.LastRecord().keyBefore, before.zobrist.key);
  EXPECT_TRUE(pos.IsConsistent());
  pos.UndoMove();
  EXPECT_TRUE(SamePosition(pos, before));

  // Moving the screen off the file between the kings is refused.
  Position kings = FromFen("4k4/9/9/9/9/9/9/4C4/9/4K4 w");
  const Position kingsBefore = kings;
  EXPECT_EQ(kings.DoMove(Iccs("e2d2")), 0);
  EXPECT_TRUE(SamePosition(kings, kingsBefore));
  // The pinned cannon may move along the pin; with no screen it gives no check.
  EXPECT_EQ(kings.DoMove(Iccs("e2e5")), 1);
  EXPECT_EQ(kings.LastRecord().inCheck, 0);

  // A move that gives check sets the record's flag.
  Position check = FromFen("3k5/9/9/9/9/9/9/9/9/R3K4 w");
  ASSERT_EQ(check.DoMove(Iccs("a0a1")), 1);
  EXPECT_EQ(check.LastRecord().inCheck, 0);
  check.UndoMove();
  ASSERT_EQ(check.DoMove(Iccs("a0d0")), 1);
  EXPECT_EQ(check.LastRecord().inCheck, 1);
}

TEST(MirrorInto, MirrorsBoardSideAndKeys) {
  Position start, mirror;
  start.SetUpStart(0);
  start.MirrorInto(mirror);
  EXPECT_EQ(mirror.zobrist, start.zobrist);

  Position handicap;
  handicap.SetUpStart(1);
  handicap.MirrorInto(mirror);
  EXPECT_EQ(mirror.squares[0xC4], 8 + KNIGHT);
  EXPECT_EQ(mirror.squares[0xCA], 0);
  EXPECT_TRUE(mirror.IsConsistent());

  handicap.DoMove(Iccs("h2e2"));
  handicap.MirrorInto(mirror);
  EXPECT_EQ(mirror.side, 1);
  EXPECT_EQ(mirror.historyCount, 1);
  EXPECT_EQ(mirror.distance, 0);
  EXPECT_TRUE(mirror.IsConsistent());
}

TEST(CollapseHistory, KeepsThePositionAndRestartsTheHistory) {
  Position pos;
  pos.SetUpStart(0);
  pos.DoMove(Iccs("h2e2"));
  pos.DoMove(Iccs("h9g7"));
  const Position before = pos;
  pos.CollapseHistory();
  EXPECT_EQ(pos.historyCount, 1);
  EXPECT_EQ(pos.history[0].keyBefore, pos.zobrist.key);
  EXPECT_EQ(pos.distance, before.distance);
  EXPECT_EQ(pos.zobrist, before.zobrist);
}

}  // namespace
}  // namespace lanterra
