#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <vector>

#include "engine/search.h"
#include "tests/test_positions.h"

namespace lanterra {
namespace {

using test::FromFen;
using test::Iccs;

void PlayMoves(Position& pos, const char* moves) {
  std::istringstream in(moves);
  std::string word;
  while (in >> word) ASSERT_TRUE(pos.DoMove(Iccs(word.c_str()))) << word;
}

class SearchTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ctx = new SearchContext(); }
  static void TearDownTestSuite() { delete ctx; }
  void SetUp() override { Reset(); }
  // A fresh decision: empty tables, zero node count, pos as the root.
  void Reset() {
    std::fill(std::begin(ctx->historyScores), std::end(ctx->historyScores), 0);
    for (auto& pair : ctx->killerMoves) pair[0] = pair[1] = 0;
    ctx->table.Clear();
    ctx->nodeCount = 0;
    ctx->pos = &pos;
  }
  bool HistoryAndKillersEmpty() const {
    return std::all_of(std::begin(ctx->historyScores), std::end(ctx->historyScores), [](int v) { return v == 0; }) &&
           std::all_of(std::begin(ctx->killerMoves), std::end(ctx->killerMoves),
                       [](const Move* pair) { return pair[0] == 0 && pair[1] == 0; });
  }

  static SearchContext* ctx;
  Position pos;
};
SearchContext* SearchTest::ctx;

TEST_F(SearchTest, DepthZeroIsQuiescence) {
  std::mt19937 rng(7);
  for (int i = 0; i < 40; ++i) {
    pos.SetUpStart(0);
    test::RandomPlay(pos, rng, 10 + i);
    pos.distance = 0;
    for (auto [alpha, beta] : {std::pair{-SCORE_MATE, SCORE_MATE}, {-30, 30}, {100, 101}}) {
      Reset();
      int quiet = Quiesce(*ctx, alpha, beta);
      int quietNodes = ctx->nodeCount;
      Reset();
      EXPECT_EQ(Search(*ctx, alpha, beta, 0, false), quiet);
      EXPECT_EQ(ctx->nodeCount, quietNodes);
    }
  }
}

TEST_F(SearchTest, MatedSideAtDistanceThree) {
  // Red's b1b9 mates: rook a8 holds rank 8 and the kings may not face.
  pos = FromFen("4k4/R8/9/9/9/9/9/9/1R7/3K5 w");
  pos.distance = 2;
  Reset();
  EXPECT_EQ(Search(*ctx, -SCORE_MATE, SCORE_MATE, 1, false), 9997);

  PlayMoves(pos, "b1b9");
  ASSERT_EQ(pos.distance, 3);
  Reset();
  EXPECT_EQ(Search(*ctx, -SCORE_MATE, SCORE_MATE, 2, false), -9997);
  const HashEntry& slot = ctx->table.SlotOf(pos);
  EXPECT_NE(slot.lockB, pos.zobrist.lockB) << "no entry for a mated node";
  EXPECT_EQ(Quiesce(*ctx, -SCORE_MATE, SCORE_MATE), -9997);
}

TEST_F(SearchTest, StalemateLosesInSearchButStandsPatInQuiescence) {
  // Black's king may neither face the red king nor step into the rook's rank.
  pos = FromFen("3k5/R8/9/9/9/9/9/9/9/4K4 b");
  ASSERT_EQ(pos.LastRecord().inCheck, 0);
  pos.distance = 1;
  EXPECT_EQ(Search(*ctx, -SCORE_MATE, SCORE_MATE, 3, false), 1 - SCORE_MATE);
  EXPECT_EQ(Quiesce(*ctx, -SCORE_MATE, SCORE_MATE), pos.StaticScore());
}

TEST_F(SearchTest, QuiescenceStandsPatAtBetaWithoutGenerating) {
  pos = FromFen("2bk1ab1r/9/1c4n2/4p4/r5p1p/3N5/4P1P1P/B3C1N2/9/3AKAB1R w - - 0 13");
  int eval = pos.StaticScore();
  EXPECT_EQ(Quiesce(*ctx, eval - 10, eval), eval);
  EXPECT_EQ(ctx->nodeCount, 1);
  Quiesce(*ctx, eval, eval + 1);
  EXPECT_GT(ctx->nodeCount, 2) << "below beta the captures are searched";
}

TEST_F(SearchTest, PlyLimitReturnsTheStaticScore) {
  pos = FromFen("2bk1ab1r/9/1c4n2/4p4/r5p1p/3N5/4P1P1P/B3C1N2/9/3AKAB1R w - - 0 13");
  pos.distance = MAX_PLY;
  // A usable entry for this very position must not be consulted.
  ctx->table.Store(pos, BOUND_EXACT, 4321, 20, Iccs("a2c0"));
  EXPECT_EQ(Search(*ctx, -SCORE_MATE, SCORE_MATE, 5, false), pos.StaticScore());
  EXPECT_EQ(ctx->nodeCount, 0);
  EXPECT_EQ(Quiesce(*ctx, -SCORE_MATE, SCORE_MATE), pos.StaticScore());
  EXPECT_EQ(ctx->nodeCount, 1);
  pos.distance = MAX_PLY - 1;
  EXPECT_EQ(Search(*ctx, -SCORE_MATE, SCORE_MATE, 5, false), 4321) << "one ply less, the table answers";
}

// A position met before in the examined stretch is scored by the
// repetition rule before the table is asked.
TEST_F(SearchTest, RepetitionScoresBeforeTheTable) {
  struct Case {
    const char* what;
    const char* fen;
    const char* before;  // game history
    const char* inSearch;  // plies from the root to the node
    int expected;
  } cases[] = {
      {"plain repetition is a draw", START_FEN.data(), "", "a0a1 a9a8 a1a0 a8a9", -SCORE_DRAW},
      {"draw score by parity", START_FEN.data(), "a0a1 a9a8", "a1a0 a8a9 a0a1", SCORE_DRAW},
      {"the other side kept checking", "4ka3/9/9/9/3R5/9/9/9/r8/5K3 w", "d5e5 e9d9 e5d5 d9e9", "d5e5",
       SCORE_BANNED - 1},
      {"the other side kept checking, later", "4ka3/9/9/9/3R5/9/9/9/r8/5K3 w", "d5e5 e9d9 e5d5 d9e9",
       "d5e5 e9d9 e5d5", SCORE_BANNED - 3},
      {"own perpetual check", "4ka3/9/9/9/3R5/9/9/9/r8/5K3 w", "d5e5 e9d9 e5d5 d9e9", "d5e5 e9d9 e5d5 d9e9",
       4 - SCORE_BANNED},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pos = FromFen(c.fen);
    PlayMoves(pos, c.before);
    pos.distance = 0;
    PlayMoves(pos, c.inSearch);
    Reset();
    ctx->table.Store(pos, BOUND_EXACT, 55, 30, 0);
    Position before = pos;
    EXPECT_EQ(Search(*ctx, -SCORE_MATE, SCORE_MATE, 6, false), c.expected);
    EXPECT_EQ(Search(*ctx, -SCORE_MATE, SCORE_MATE, 0, false), c.expected);
    EXPECT_EQ(pos.zobrist, before.zobrist);
  }
}

// A null move shows in the node count: its reduced search reaches
// quiescence nodes that the same search without it does not visit.
TEST_F(SearchTest, NullMoveConditions) {
  struct Case {
    const char* what;
    const char* fen;
    bool materialAllows;
    bool tried;
  } cases[] = {
      {"middlegame", "2bk1ab1r/9/1c4n2/4p4/r5p1p/3N5/4P1P1P/B3C1N2/9/3AKAB1R w", true, true},
      {"in check", "rnbakabnr/9/1c5c1/p1p3p1p/9/9/P1P1P1P1P/1C2C4/9/RNBAKABNR b", true, false},
      {"too little own material", "3akab2/1R7/4b4/8p/4p4/8r/2p6/5A2B/9/3AK1B2 w", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pos = FromFen(c.fen);
    ASSERT_EQ(pos.NullMoveAllowed(), c.materialAllows);
    Reset();
    int withNull = Search(*ctx, -SCORE_MATE, SCORE_MATE, 4, false);
    int nodesWithNull = ctx->nodeCount;
    Reset();
    int withoutNull = Search(*ctx, -SCORE_MATE, SCORE_MATE, 4, true);
    int nodesWithoutNull = ctx->nodeCount;
    EXPECT_EQ(nodesWithNull != nodesWithoutNull, c.tried);
    if (!c.tried) {
      EXPECT_EQ(withNull, withoutNull);
    }
  }
}

TEST_F(SearchTest, AllMovesFailingLowTeachNothing) {
  pos.SetUpStart(0);
  Reset();
  int score = Search(*ctx, 500, 501, 1, false);
  EXPECT_LT(score, 500);
  const HashEntry& slot = ctx->table.SlotOf(pos);
  EXPECT_EQ(slot.lockB, pos.zobrist.lockB);
  EXPECT_EQ(slot.bound, BOUND_UPPER);
  EXPECT_EQ(slot.move, 0);
  EXPECT_EQ(slot.score, score);
  EXPECT_TRUE(HistoryAndKillersEmpty());
}

TEST_F(SearchTest, ReturnsThePositionAsItFoundIt) {
  std::mt19937 rng(11);
  for (int i = 0; i < 20; ++i) {
    pos.SetUpStart(i % 4);
    test::RandomPlay(pos, rng, 2 * i);
    pos.distance = 0;
    Reset();
    Position before = pos;
    Search(*ctx, -SCORE_MATE, SCORE_MATE, 3, false);
    EXPECT_EQ(pos.zobrist, before.zobrist);
    EXPECT_EQ(pos.historyCount, before.historyCount);
    EXPECT_EQ(pos.distance, before.distance);
    EXPECT_EQ(pos.redScore, before.redScore);
    EXPECT_TRUE(std::equal(std::begin(pos.squares), std::end(pos.squares), std::begin(before.squares)));
  }
}

}  // namespace
}  // namespace lanterra
