#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "engine/move_sort.h"
#include "engine/move_sorter.h"
#include "engine/search_context.h"
#include "rules/search_moves.h"
#include "tests/test_positions.h"

namespace lanterra {
namespace {

using test::FromFen;
using test::Iccs;

class MoveSorterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ctx = new SearchContext(); }
  static void TearDownTestSuite() { delete ctx; }
  void SetUp() override {
    std::fill(std::begin(ctx->historyScores), std::end(ctx->historyScores), 0);
    for (auto& pair : ctx->killerMoves) pair[0] = pair[1] = 0;
    pos = FromFen(std::string(START_FEN));
    ctx->pos = &pos;
  }
  std::vector<Move> HandOut(Move hashMove) {
    MoveSorter sorter(*ctx, hashMove);
    std::vector<Move> out;
    while (Move mv = sorter.NextMove()) out.push_back(mv);
    EXPECT_EQ(sorter.NextMove(), 0) << "an exhausted sorter stays exhausted";
    return out;
  }
  std::vector<Move> Generated() {
    Move moves[MAX_MOVES_PER_POSITION];
    return {moves, moves + pos.ListMoves(moves, 0)};
  }

  static SearchContext* ctx;
  Position pos;
};
SearchContext* MoveSorterTest::ctx;

TEST_F(MoveSorterTest, WithoutHashMoveOrKillersHandsOutTheListByHistory) {
  ctx->historyScores[Iccs("h2e2")] = 50;
  ctx->historyScores[Iccs("b0c2")] = 9;
  ctx->historyScores[Iccs("a3a4")] = 30;
  std::vector<Move> out = HandOut(0);
  ASSERT_EQ(out.size(), Generated().size());
  EXPECT_TRUE(std::is_permutation(out.begin(), out.end(), Generated().begin()));
  EXPECT_EQ(out[0], Iccs("h2e2"));
  EXPECT_EQ(out[1], Iccs("a3a4"));
  EXPECT_EQ(out[2], Iccs("b0c2"));
}

// Each case: hash move, killers of the node's distance, and the moves that
// must come first, in order, before the rest of the generated list.
TEST_F(MoveSorterTest, HashMoveAndKillersComeFirstAndOnlyOnce) {
  struct Case {
    const char* what;
    const char* hash;
    const char* killer1;
    const char* killer2;
    std::vector<const char*> first;
  } cases[] = {
      {"hash, then both killers", "h2e2", "b0c2", "a3a4", {"h2e2", "b0c2", "a3a4"}},
      {"killer equal to the hash move", "h2e2", "h2e2", "a3a4", {"h2e2", "a3a4"}},
      {"second killer equal to the hash move", "h2e2", "b0c2", "h2e2", {"h2e2", "b0c2"}},
      {"killer that is no move here", "", "e3e5", "a3a4", {"a3a4"}},
      {"black's move as killer", "", "b9c7", "", {}},
      {"no hash move", "", "b0c2", "a3a4", {"b0c2", "a3a4"}},
  };
  auto parse = [](const char* t) { return *t ? Iccs(t) : Move(0); };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ctx->killerMoves[0][0] = parse(c.killer1);
    ctx->killerMoves[0][1] = parse(c.killer2);
    std::vector<Move> out = HandOut(parse(c.hash));
    ASSERT_GE(out.size(), c.first.size());
    for (size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(out[i], Iccs(c.first[i])) << i;
    // Every legal-shaped move exactly once, nothing else.
    std::vector<Move> sortedOut = out, generated = Generated();
    std::sort(sortedOut.begin(), sortedOut.end());
    std::sort(generated.begin(), generated.end());
    EXPECT_EQ(sortedOut, generated);
  }
}

TEST_F(MoveSorterTest, GeneratesOnlyAfterHashMoveAndKillers) {
  ctx->killerMoves[0][0] = Iccs("b0c2");
  MoveSorter sorter(*ctx, Iccs("h2e2"));
  EXPECT_EQ(sorter.NextMove(), Iccs("h2e2"));
  EXPECT_EQ(sorter.NextMove(), Iccs("b0c2"));
  EXPECT_EQ(sorter.count, 0);
  EXPECT_LT(sorter.phase, MoveSorter::PHASE_REST);
  EXPECT_NE(sorter.NextMove(), 0);
  EXPECT_EQ(sorter.phase, MoveSorter::PHASE_REST);
  EXPECT_EQ(sorter.count, 44);
}

TEST_F(MoveSorterTest, KillersOfTheNodesDistance) {
  ctx->killerMoves[0][0] = Iccs("b0c2");
  ctx->killerMoves[2][0] = Iccs("a3a4");
  pos.distance = 2;
  EXPECT_EQ(HandOut(0)[0], Iccs("a3a4"));
}

TEST_F(MoveSorterTest, RecordBestMoveUpdatesHistoryAndKillers) {
  const Move a = Iccs("h2e2"), b = Iccs("b0c2"), c = Iccs("a3a4");
  struct Step {
    Move move;
    int depth;
    Move killer1, killer2;
  } steps[] = {
      {a, 3, a, 0}, {a, 2, a, 0},  // already first: the pair stays
      {b, 1, b, a}, {a, 4, a, b},  // a back in front
      {c, 2, c, a},                // b drops out
  };
  pos.distance = 5;
  for (const Step& s : steps) {
    RecordBestMove(*ctx, s.move, s.depth);
    EXPECT_EQ(ctx->killerMoves[5][0], s.killer1);
    EXPECT_EQ(ctx->killerMoves[5][1], s.killer2);
  }
  EXPECT_EQ(ctx->historyScores[a], 9 + 4 + 16);
  EXPECT_EQ(ctx->historyScores[b], 1);
  EXPECT_EQ(ctx->historyScores[c], 4);
  EXPECT_EQ(ctx->killerMoves[4][0], 0) << "other distances are untouched";
}

// A side in check: the legal moves must come in exactly the order the sort
// of the whole list gives them, ties included. Few distinct history scores
// make ties among the legal moves; many make them rare.
TEST(EvasionOrder, LegalMovesInTheOrderOfTheWholeListsSort) {
  auto ctx = std::make_unique<SearchContext>();
  std::mt19937 rng(7);
  int checked = 0, tied = 0;
  for (int game = 0; checked < 400; ++game) {
    Position pos;
    pos.SetUpStart(game % 4);
    test::RandomPlay(pos, rng, 20 + int(rng() % 80));
    if (!pos.LastRecord().inCheck) continue;
    ++checked;
    const int distinct = checked % 2 == 0 ? 2 : 1000;
    for (int32_t& score : ctx->historyScores) score = int32_t(rng() % distinct);
    const int sources = CheckSources(pos, pos.side);
    Move all[MAX_MOVES_PER_POSITION], legal[MAX_MOVES_PER_POSITION];
    const int count = pos.ListMoves(all, 0);
    std::vector<Move> expected(all, all + count);
    SortByHistory(ctx->historyScores, expected.data(), count);
    std::erase_if(expected, [&](Move mv) { return !SearchMoves::IsLegal(pos, mv, sources); });
    tied += distinct == 2 && expected.size() > 1;
    const int n = LegalByHistory(ctx->historyScores, pos, sources, all, count, legal);
    ASSERT_EQ(std::vector<Move>(legal, legal + n), expected) << ToFen(pos);
  }
  EXPECT_GT(tied, 50);
}

TEST(CaptureOrder, MostValuableVictimThenLeastValuableAttacker) {
  Position pos;
  struct Capture {
    PieceCode attacker, victim;
    int key;
  } captures[] = {
      {8 + CANNON, 16 + ADVISOR, 5}, {8 + PAWN, 16 + KNIGHT, 22}, {8 + ROOK, 16 + ROOK, 28},
      {8 + PAWN, 16 + ROOK, 30},     {8 + KING, 16 + PAWN, 11},   {8 + KNIGHT, 16 + KING, 37},
  };
  std::vector<Move> moves;
  int file = 3;
  for (const Capture& c : captures) {
    pos.PlacePiece(SquareAt(8, file), c.attacker);
    pos.PlacePiece(SquareAt(7, file), c.victim);
    moves.push_back(MoveOf(SquareAt(8, file), SquareAt(7, file)));
    ++file;
  }
  SortByCaptureValue(pos, moves.data(), int(moves.size()));
  std::vector<int> keys;
  for (Move mv : moves) {
    for (const Capture& c : captures)
      if (pos.squares[MoveFrom(mv)] == c.attacker && pos.squares[MoveTo(mv)] == c.victim) keys.push_back(c.key);
  }
  EXPECT_EQ(keys, (std::vector<int>{37, 30, 28, 22, 11, 5}));
}

}  // namespace
}  // namespace lanterra

namespace lanterra {
namespace {

// The engine's sort must leave equal keys in the order libstdc++'s std::sort
// leaves them, the order the game's decisions were made with. Few distinct
// keys make many ties, which is where two sorts part ways.
#ifdef __GLIBCXX__
TEST(MoveSort, LeavesTiesWhereLibstdcxxSortLeavesThem) {
  struct Item {
    int key, id;
  };
  auto less = [](const Item& a, const Item& b) { return a.key < b.key; };
  uint32_t state = 1;
  auto next = [&state] { return (state = state * 214013 + 2531011) >> 16; };
  for (int count = 0; count <= MAX_MOVES_PER_POSITION; ++count) {
    for (int keys : {1, 2, 3, 7, 40, 1000}) {
      for (int round = 0; round < 8; ++round) {
        std::vector<Item> items(count);
        for (int i = 0; i < count; ++i) items[i] = {static_cast<int>(next() % keys), i};
        if (round == 1) std::sort(items.begin(), items.end(), less);
        if (round == 2) std::reverse(items.begin(), items.end());
        std::vector<Item> ours = items, theirs = items;
        SortMoves(ours.data(), count, less);
        std::sort(theirs.begin(), theirs.end(), less);
        for (int i = 0; i < count; ++i) {
          ASSERT_EQ(ours[i].id, theirs[i].id) << "count " << count << " keys " << keys;
        }
        // The heapsort that guards against a bad pivot sequence is rarely
        // reached on short lists; compare it with libstdc++'s directly.
        ours = items;
        theirs = items;
        move_sort_detail::HeapSort(ours.data(), ours.data() + count, less);
        std::partial_sort(theirs.begin(), theirs.end(), theirs.end(), less);
        for (int i = 0; i < count; ++i) ASSERT_EQ(ours[i].id, theirs[i].id) << "heap, count " << count;
      }
    }
  }
}
#endif

}  // namespace
}  // namespace lanterra
