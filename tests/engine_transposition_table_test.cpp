#include <gtest/gtest.h>

#include <memory>

#include "engine/transposition_table.h"
#include "tests/test_positions.h"

namespace lanterra {
namespace {

// Probe and Store read only the key words and the distance, so tests name
// positions by their locks; the slot is always the same one.
Position At(uint32_t lockA, uint32_t lockB, int distance) {
  Position pos;
  pos.zobrist = {0x12345, lockA, lockB};
  pos.distance = distance;
  return pos;
}

class TranspositionTableTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { table = std::make_unique<TranspositionTable>(); }
  static void TearDownTestSuite() { table.reset(); }
  void SetUp() override { table->Clear(); }
  HashEntry Slot() const { return table->SlotOf(At(0, 0, 0)); }

  static std::unique_ptr<TranspositionTable> table;
};
std::unique_ptr<TranspositionTable> TranspositionTableTest::table;

constexpr Move MV = 0xA7A4;

TEST_F(TranspositionTableTest, DeeperEntryOfAnyPositionKeepsItsSlot) {
  table->Store(At(1, 1, 0), BOUND_EXACT, 50, 5, MV);
  table->Store(At(2, 2, 0), BOUND_EXACT, 60, 3, MV);
  EXPECT_EQ(Slot().lockA, 1u);
  EXPECT_EQ(Slot().score, 50);
  table->Store(At(2, 2, 0), BOUND_EXACT, 60, 5, 0);
  EXPECT_EQ(Slot().lockA, 2u);
  EXPECT_EQ(Slot().score, 60);
  EXPECT_EQ(Slot().move, 0);
}

// What Store writes into the slot, and when it writes nothing at all.
TEST_F(TranspositionTableTest, StoredFormOfScores) {
  struct Case {
    int score, distance;
    Move move;
    bool written;
    int stored;
  } cases[] = {
      {9993, 3, MV, true, 9996},     // a mate 7 plies from the root, kept relative to its node
      {9993, 3, 0, true, 9996},      // mate scores need no move
      {9901, 2, 0, true, 9903},
      {9850, 10, MV, true, 9860},    // perpetual-check range only with a move
      {9850, 10, 0, false, 0},
      {9900, 4, 0, false, 0},        // SCORE_BANNED itself counts as that range
      {-9900, 4, 0, false, 0},
      {-9901, 4, 0, true, -9905},
      {-9990, 2, MV, true, -9992},
      {9800, 7, 0, true, 9800},      // the win band is stored as it is
      {-9800, 7, 0, true, -9800},
      {120, 7, 0, true, 120},
  };
  for (const Case& c : cases) {
    table->Clear();
    table->Store(At(7, 8, 0), BOUND_LOWER, 1, 0, 0);  // earlier content to be kept or replaced
    table->Store(At(1, 1, c.distance), BOUND_UPPER, c.score, 2, c.move);
    SCOPED_TRACE(c.score);
    if (c.written) {
      EXPECT_EQ(Slot().score, c.stored);
      EXPECT_EQ(Slot().lockA, 1u);
      EXPECT_EQ(Slot().depth, 2);
      EXPECT_EQ(Slot().bound, BOUND_UPPER);
    } else {
      EXPECT_EQ(Slot().lockA, 7u);
      EXPECT_EQ(Slot().score, 1);
    }
  }
}

TEST_F(TranspositionTableTest, ProbeRules) {
  struct Case {
    const char* what;
    int bound, stored, entryDepth;       // slot content (stored form)
    int distance, alpha, beta, depth;    // the probe
    int expected;
  } cases[] = {
      {"mate, any depth, any window", BOUND_EXACT, 9996, 1, 5, -50, 50, 9, 9991},
      {"negative mate, any depth", BOUND_EXACT, -9990, 1, 4, -50, 50, 9, -9986},
      {"negative mate, upper bound at alpha", BOUND_UPPER, -9990, 1, 4, -9986, 50, 9, -9986},
      {"negative mate, upper bound above alpha", BOUND_UPPER, -9990, 1, 4, -9987, 50, 9, -SCORE_MATE},
      {"perpetual range never used", BOUND_EXACT, 9860, 9, 10, -50, 50, 1, -SCORE_MATE},
      {"negative perpetual range never used", BOUND_EXACT, -9899, 9, 1, -50, 50, 1, -SCORE_MATE},
      {"stored 9900 is a mate score", BOUND_EXACT, 9900, 1, 3, -50, 50, 9, 9897},
      {"too shallow", BOUND_EXACT, 30, 2, 0, -50, 50, 4, -SCORE_MATE},
      {"equal depth", BOUND_EXACT, 30, 2, 0, -50, 50, 2, 30},
      {"deeper entry", BOUND_EXACT, 30, 2, 0, -50, 50, 1, 30},
      {"exact outside window", BOUND_EXACT, 300, 2, 0, -50, 50, 1, 300},
      {"lower below beta", BOUND_LOWER, 120, 2, 0, 0, 150, 2, -SCORE_MATE},
      {"lower at beta", BOUND_LOWER, 120, 2, 0, 0, 120, 2, 120},
      {"upper at alpha", BOUND_UPPER, 120, 2, 0, 120, 150, 2, 120},
      {"upper above alpha", BOUND_UPPER, 120, 2, 0, 119, 150, 2, -SCORE_MATE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    table->Clear();
    // Stored from distance 0, so the slot holds exactly c.stored.
    table->Store(At(1, 2, 0), c.bound, c.stored, c.entryDepth, MV);
    ASSERT_EQ(Slot().score, c.stored);
    Move hashMove = 0;
    EXPECT_EQ(table->Probe(At(1, 2, c.distance), c.alpha, c.beta, c.depth, hashMove), c.expected);
    EXPECT_EQ(hashMove, MV) << "a matching entry always hands out its move";
  }
}

TEST_F(TranspositionTableTest, MateStoredAndProbedAtDifferentDistances) {
  table->Store(At(1, 2, 3), BOUND_LOWER, 9993, 1, MV);
  EXPECT_EQ(Slot().score, 9996);
  Move hashMove = 0;
  EXPECT_EQ(table->Probe(At(1, 2, 5), -SCORE_MATE, 9991, 30, hashMove), 9991);
}

TEST_F(TranspositionTableTest, LockMismatchGivesNothing) {
  table->Store(At(1, 2, 0), BOUND_EXACT, 30, 2, MV);
  for (auto [a, b] : {std::pair{1u, 3u}, {3u, 2u}}) {
    Move hashMove = 77;
    EXPECT_EQ(table->Probe(At(a, b, 0), -50, 50, 1, hashMove), -SCORE_MATE);
    EXPECT_EQ(hashMove, 0);
  }
  table->Clear();
  Move hashMove = 77;
  EXPECT_EQ(table->Probe(At(0, 0, 0), -50, 50, 1, hashMove), -SCORE_MATE) << "an empty slot is no entry";
  EXPECT_EQ(hashMove, 0);
}

// Clear only starts a new generation; an entry from any earlier one, also
// from the one that many Clears later bears its number again, is gone, and
// a shallower store may take its slot.
TEST_F(TranspositionTableTest, ClearForgetsEveryEarlierEntry) {
  for (int clears : {1, 65535, 65536}) {
    table->Store(At(1, 2, 0), BOUND_EXACT, 30, 9, MV);
    for (int i = 0; i < clears; ++i) table->Clear();
    Move hashMove = 77;
    EXPECT_EQ(table->Probe(At(1, 2, 0), -50, 50, 1, hashMove), -SCORE_MATE) << clears;
    EXPECT_EQ(hashMove, 0) << clears;
    table->Store(At(3, 4, 0), BOUND_EXACT, 40, 1, MV);
    EXPECT_EQ(Slot().lockA, 3u) << clears;
  }
}

}  // namespace
}  // namespace lanterra
