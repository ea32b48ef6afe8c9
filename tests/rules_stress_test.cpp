// Random play over thousands of games: after every move the incremental
// scores and keys must equal a recomputation, and every do must be undone
// exactly.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "rules/search_moves.h"
#include "tests/test_positions.h"

namespace lanterra {
namespace {

bool Identical(const Position& a, const Position& b) {
  return a.side == b.side && std::memcmp(a.squares, b.squares, 256) == 0 && a.redScore == b.redScore &&
         a.blackScore == b.blackScore && a.distance == b.distance && a.historyCount == b.historyCount &&
         a.zobrist == b.zobrist &&
         std::memcmp(a.history, b.history, sizeof(MoveRecord) * size_t(a.historyCount)) == 0 &&
         a.index == b.index;
}

TEST(RulesStress, RandomGamesKeepEveryInvariant) {
  std::mt19937 rng(2026);
  long long moves = 0;
  for (int game = 0; game < 3000; ++game) {
    Position pos;
    pos.SetUpStart(game % 4);
    for (int ply = 0; ply < 200; ++ply) {
      // Every pseudo-legal move, refused or played, must leave the position
      // as it was once undone.
      const Position before = pos;
      Move all[MAX_MOVES_PER_POSITION];
      int count = pos.ListMoves(all, false);
      ASSERT_LE(count, 119);
      std::vector<Move> safe;  // the moves the plain test lets through, in order
      for (int i = 0; i < count; ++i) {
        // DoMove decides from the squares the move changed; the whole check
        // test on the moved board must agree.
        const PieceCode captured = test::PutOnBoard(pos, all[i]);
        const bool exposed = pos.IsInCheck();
        test::TakeOffBoard(pos, all[i], captured);
        if (!exposed) safe.push_back(all[i]);
        ASSERT_EQ(SearchMoves::IsLegal(pos, all[i], CheckSources(pos, pos.side)), !exposed)
            << ToFen(before) << " " << IccsMove(all[i]);
        ASSERT_EQ(pos.DoMove(all[i]), !exposed) << ToFen(before) << " " << IccsMove(all[i]);
        if (!exposed) {
          ASSERT_TRUE(pos.IsConsistent()) << ToFen(before) << " " << IccsMove(all[i]);
          // Both ways of taking a move back: working the sums out from the
          // move, and putting back the ones saved before it.
          if (i % 2 == 0)
            pos.UndoMove();
          else
            SearchMoves::UndoMove(pos, before.Sums());
        }
        ASSERT_TRUE(Identical(pos, before)) << ToFen(before) << " " << IccsMove(all[i]);
      }
      Move legal[MAX_MOVES_PER_POSITION];
      const int n = LegalMoves(pos, legal);
      ASSERT_EQ(std::vector<Move>(legal, legal + n), safe) << ToFen(pos);
      ASSERT_EQ(n == 0, pos.IsMated()) << ToFen(pos);
      ASSERT_TRUE(Identical(pos, before)) << ToFen(pos);
      if (n == 0) break;

      if (!pos.LastRecord().inCheck) {
        SearchMoves::DoNullMove(pos);
        ASSERT_TRUE(pos.IsConsistent());
        SearchMoves::UndoNullMove(pos);
        ASSERT_TRUE(Identical(pos, before));
      }

      ASSERT_EQ(pos.DoMove(legal[rng() % n]), 1);
      ++moves;
      ASSERT_TRUE(pos.IsConsistent()) << ToFen(pos);
      // As in a game: the history restarts at each capture and the game is
      // drawn at the 100-move limit, so it never nears its capacity.
      if (pos.LastRecord().captured) pos.CollapseHistory();
      if (pos.historyCount > 100) break;
      ASSERT_LT(pos.historyCount, MOVE_HISTORY_CAPACITY);
    }
  }
  EXPECT_GT(moves, 100000);
}

}  // namespace
}  // namespace lanterra
