#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/search.h"
#include "tests/test_positions.h"
#include "tests/tool_runner.h"

namespace lanterra {
namespace {

using test::FromFen;
using test::Iccs;

class MoveDecisionTest : public ::testing::Test {
 protected:
  // The engine holds a large table; one serves the whole suite, without a
  // book, reseeded before each test.
  static void SetUpTestSuite() { engine = new Engine({}, 12345); }
  static void TearDownTestSuite() { delete engine; }
  void SetUp() override {
    engine->Seed(12345);
    engine->SetLevel(3);
  }
  static bool IsLegal(Position pos, Move mv) {
    Move legal[MAX_MOVES_PER_POSITION];
    int n = LegalMoves(pos, legal);
    return std::find(legal, legal + n, mv) != legal + n;
  }

  static Engine* engine;
};
Engine* MoveDecisionTest::engine;

TEST_F(MoveDecisionTest, ForcedMoveIsAnsweredWithoutSearch) {
  // Checked on the e-file; d9 and d8 would face the red king, rank 8 is held.
  Position pos = FromFen("4k4/8R/9/9/9/9/4R4/9/9/3K5 b");
  const Decision d = engine->Decide(pos);
  EXPECT_EQ(d.move, Iccs("e9f9"));
  EXPECT_EQ(d.nodes, 0);
  EXPECT_EQ(d.depth, 0);
}

TEST_F(MoveDecisionTest, NoLegalMoveGivesNoMove) {
  Position pos = FromFen("3k5/R8/9/9/9/9/9/9/9/4K4 b");  // stalemate
  EXPECT_EQ(engine->Decide(pos).move, 0);
}

TEST_F(MoveDecisionTest, MatesAreFoundAtLevelThree) {
  struct Case {
    const char* fen;
    int plies;  // to mate
  } cases[] = {
      {"4k4/R8/9/9/9/9/9/9/1R7/3K5 w", 1},
      {"3k5/9/9/9/9/9/9/9/9/R3K3R w", 1},
      {"r2k5/9/9/9/9/9/9/9/1r7/4K4 b", 1},
      {"4k4/9/9/9/9/9/9/9/1R7/R2K5 w", 3},
      {"4k4/4a4/9/9/9/9/9/9/2H6/3K1R3 w", 3},
      {"3k5/4a4/9/9/9/9/9/9/9/RN2K4 w", 5},
      {"5k3/4a4/9/9/9/9/9/9/9/4K2NR w", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    Position pos = FromFen(c.fen);
    const Decision d = engine->Decide(pos);
    EXPECT_EQ(d.score, SCORE_MATE - c.plies);
    // The deepening stops at the mate score, long before the budget.
    EXPECT_LE(d.nodes, NodeBudget(3));
    ASSERT_TRUE(pos.DoMove(d.move));
    if (c.plies == 1) {
      EXPECT_TRUE(pos.IsMated());
    }
  }
}

// Deepening stops after the first iteration whose cumulative count exceeds
// the budget (exactly the budget goes on); replaying the decision's
// iterations one by one shows where each stood.
TEST_F(MoveDecisionTest, BudgetIsTestedAfterEachIteration) {
  auto replay = std::make_unique<SearchContext>();
  std::mt19937 rng(5);
  int exactlyAtBudget = 0;
  for (int i = 0; i < 300; ++i) {
    Position pos;
    pos.SetUpStart(0);
    test::RandomPlay(pos, rng, 1 + i % 60);
    Move legal[MAX_MOVES_PER_POSITION];
    int n = LegalMoves(pos, legal);
    if (n < 2) continue;
    const int level = i % 2;
    Position root = pos;
    root.distance = 0;
    engine->SetLevel(level);
    engine->Seed(uint32_t(i));
    const Decision decision = engine->Decide(pos);
    const int depth = decision.depth, nodes = decision.nodes;
    ASSERT_GE(depth, 1);

    SearchContext* ctx = replay.get();
    std::memset(ctx->historyScores, 0, sizeof(ctx->historyScores));
    std::memset(ctx->killerMoves, 0, sizeof(ctx->killerMoves));
    ctx->table.Clear();
    ctx->random.Seed(uint32_t(i));
    ctx->pos = &root;
    ctx->chosenMove = legal[n - 1];  // the last legal move opens the first iteration
    ctx->nodeCount = 0;
    int score = 0;
    for (int d = 1; d <= depth; ++d) {
      score = RootSearch(*ctx, d);
      if (ctx->nodeCount == NodeBudget(level)) ++exactlyAtBudget;
      if (d == depth) break;
      EXPECT_LE(ctx->nodeCount, NodeBudget(level)) << "position " << i << ": deepened past the budget";
      EXPECT_TRUE(score >= -SCORE_WIN && score <= SCORE_WIN) << "position " << i << ": deepened past a mate";
    }
    EXPECT_EQ(ctx->nodeCount, nodes);
    EXPECT_TRUE(nodes > NodeBudget(level) || score > SCORE_WIN || score < -SCORE_WIN || depth == MAX_PLY)
        << "position " << i << ": stopped early";
  }
  RecordProperty("iterations_ending_exactly_at_budget", exactlyAtBudget);
}

TEST_F(MoveDecisionTest, PositionIsBitIdenticalAfterwards) {
  std::mt19937 rng(99);
  for (int i = 0; i < 200; ++i) {
    Position pos;
    pos.SetUpStart(i % 4);
    test::RandomPlay(pos, rng, i % 90);
    Move legal[MAX_MOVES_PER_POSITION];
    if (LegalMoves(pos, legal) == 0) continue;
    pos.distance = 7;  // whatever the game left there
    Position before = pos;
    engine->SetLevel(i % 3);
    engine->Decide(pos);
    EXPECT_EQ(pos.distance, 0);
    before.distance = 0;
    EXPECT_EQ(std::memcmp(&pos, &before, sizeof(Position)), 0) << "position " << i;
  }
}

TEST_F(MoveDecisionTest, NeverReturnsAnIllegalMove) {
  std::mt19937 rng(2024);
  int decided = 0;
  for (int i = 0; i < 3000; ++i) {
    Position pos;
    pos.SetUpStart(i % 4);
    test::RandomPlay(pos, rng, int(rng() % 120));
    Move legal[MAX_MOVES_PER_POSITION];
    int n = LegalMoves(pos, legal);
    engine->SetLevel(i % 3);
    const Move chosen = engine->Decide(pos).move;
    if (n == 0) {
      EXPECT_EQ(chosen, 0);
      continue;
    }
    ++decided;
    ASSERT_NE(std::find(legal, legal + n, chosen), legal + n)
        << "position " << i << " level " << i % 3 << " move " << chosen;
  }
  EXPECT_GT(decided, 2500);
}

TEST_F(MoveDecisionTest, SameSeedSameDecision) {
  Position a = FromFen("2bk1ab1r/9/1c4n2/4p4/r5p1p/3N5/4P1P1P/B3C1N2/9/3AKAB1R w - - 0 13");
  Position b = a;
  engine->Seed(3);
  const Decision first = engine->Decide(a);
  engine->Seed(3);
  const Decision second = engine->Decide(b);
  EXPECT_EQ(second.move, first.move);
  EXPECT_EQ(second.nodes, first.nodes);
}

// A book holding moves for the position at hand, made with its own lock,
// as the bytes of a book file.
std::vector<uint8_t> BookFor(const Position& pos, std::initializer_list<Move> moves) {
  std::vector<uint8_t> bytes;
  for (Move mv : moves) {
    const uint32_t lock = pos.zobrist.lockB;
    for (int shift : {0, 8, 16, 24}) bytes.push_back(uint8_t(lock >> shift));
    bytes.insert(bytes.end(), {uint8_t(mv), uint8_t(mv >> 8), 1, 0});
  }
  return bytes;
}

TEST_F(MoveDecisionTest, BookMoveIsPlayedWithoutSearchUnlessTheBookIsOff) {
  Position pos = FromFen(std::string(START_FEN));
  Engine withBook(BookFor(pos, {Iccs("b2e2")}), 1);
  withBook.SetLevel(0);
  const Decision d = withBook.Decide(pos);
  EXPECT_EQ(d.move, Iccs("b2e2"));
  EXPECT_EQ(d.nodes, 0);
  EXPECT_EQ(d.depth, 0);
  withBook.UseBook(false);
  EXPECT_GE(withBook.Decide(pos).depth, 1) << "the decision searched";
}

TEST_F(MoveDecisionTest, BookMoveCompletingThreefoldRepetitionIsDropped) {
  Position pos = FromFen(std::string(START_FEN));
  for (int round = 0; round < 3; ++round)
    for (const char* mv : {"a0a1", "a9a8", "a1a0", "a8a9"}) ASSERT_TRUE(pos.DoMove(Iccs(mv)));
  // a0a1 now would make black's position occur a fourth time.
  ASSERT_TRUE(pos.DoMove(Iccs("a0a1")));
  ASSERT_TRUE(pos.DoMove(Iccs("a9a8")));
  ASSERT_TRUE(pos.DoMove(Iccs("a1a0")));
  Engine withBook(BookFor(pos, {Iccs("a8a9")}), 12345);
  withBook.SetLevel(0);
  EXPECT_GE(withBook.Decide(pos).depth, 1) << "the decision searched";
}

TEST_F(MoveDecisionTest, BookMoveThatDoMoveRefusesIsIgnored) {
  // The red cannon on e2 is pinned against its king by the black rook; the
  // book offers its sideways step, a move of the right shape that DoMove
  // refuses.
  Position pos = FromFen("3kr4/9/9/9/9/9/9/4C4/9/4K4 w");
  Engine withBook(BookFor(pos, {Iccs("e2a2")}), 12345);
  withBook.SetLevel(1);
  Position before = pos;
  const Move chosen = withBook.Decide(pos).move;
  EXPECT_EQ(std::memcmp(&pos, &before, sizeof(Position)), 0) << "nothing to take back";
  EXPECT_NE(chosen, Iccs("e2a2"));
  EXPECT_TRUE(IsLegal(pos, chosen));
}

// A history too full for a search line is refused, not run off its end.
TEST_F(MoveDecisionTest, HistoryWithoutRoomForASearchIsRefused) {
  Position pos = FromFen(std::string(START_FEN));
  for (int count : {MAX_DECISION_HISTORY, MAX_DECISION_HISTORY + 1}) {
    pos.historyCount = count;
    for (int i = 1; i < count; ++i) pos.history[i] = MoveRecord{1, 0, 0, uint32_t(i)};
    const Position before = pos;
    engine->SetLevel(0);
    const bool roomy = count <= MAX_DECISION_HISTORY;
    EXPECT_EQ(engine->Decide(pos).move != 0, roomy) << count;
    EXPECT_EQ(std::memcmp(pos.history, before.history, sizeof pos.history), 0) << count;
  }
}

// The bench's node total is the engine's signature, written in the README.
TEST(EngineBench, SignatureMatchesReadme) {
  std::ifstream readme(std::string(LANTERRA_RESOURCE_DIR) + "../README.md");
  ASSERT_TRUE(readme) << "README.md not found";
  std::string line, expected;
  bool inSection = false;
  while (std::getline(readme, line)) {
    if (line.starts_with("## ")) inSection = line == "## Bench signature";
    if (inSection && line.starts_with("Signature: ")) expected = line.substr(11);
  }
  ASSERT_FALSE(expected.empty()) << "no 'Signature: N' line under '## Bench signature'";

  test::ToolRun run = test::RunTool("bench");
  ASSERT_EQ(run.exitCode, 0);
  std::istringstream lines(run.output);
  std::string last;
  while (std::getline(lines, line)) last = line;
  std::istringstream words(last);
  std::string bench, nodesWord, nodes;
  words >> bench >> nodesWord >> nodes;
  ASSERT_EQ(bench + " " + nodesWord, "bench: nodes") << last;
  EXPECT_EQ(nodes, expected) << "the engine's choices changed; if on purpose, update README.md and say why";
}

}  // namespace
}  // namespace lanterra
