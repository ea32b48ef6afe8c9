#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/test_positions.h"

namespace lanterra {
namespace {

using test::FromFen;
using test::Iccs;

void Play(Position& pos, const std::vector<const char*>& moves) {
  for (const char* m : moves) ASSERT_EQ(pos.DoMove(Iccs(m)), 1) << m;
}

TEST(RepetitionStatus, QuietCycleFromTheStart) {
  Position pos;
  pos.SetUpStart(0);
  for (int r : {1, 2, 3}) EXPECT_EQ(pos.RepetitionStatus(r), 0);
  Play(pos, {"a0a1", "a9a8", "a1a0", "a8a9"});
  EXPECT_EQ(pos.RepetitionStatus(1), REP_SEEN);
  EXPECT_EQ(pos.RepetitionStatus(3), 0);
  EXPECT_EQ(pos.distance, 4);
  EXPECT_EQ(pos.RepetitionScore(pos.RepetitionStatus(1)), -SCORE_DRAW);
  Play(pos, {"a0a1", "a9a8", "a1a0", "a8a9", "a0a1", "a9a8", "a1a0", "a8a9"});
  EXPECT_EQ(pos.RepetitionStatus(3), REP_SEEN);
}

// Red's rook shuttles between checking squares while the black king steps
// aside and back. Viewed with red or black to move, one side checked with
// every move and the other never did.
TEST(RepetitionStatus, PerpetualCheckByEitherSide) {
  Position pos = FromFen("3k5/9/9/9/9/9/9/9/9/R3K4 w");
  Play(pos, {"a0a9", "d9d8", "a9a8", "d8d9", "a8a9", "d9d8", "a9a8", "d8d9"});
  // Red to move: the opponent (black) never checked, red checked every time.
  int status = pos.RepetitionStatus(1);
  EXPECT_EQ(status, REP_SEEN + REP_OWN_PERPETUAL);
  EXPECT_EQ(pos.RepetitionScore(status), pos.distance - SCORE_BANNED);
  // One ply on, black to move sees the checker as its opponent.
  Play(pos, {"a8a9"});
  status = pos.RepetitionStatus(1);
  EXPECT_EQ(status, REP_SEEN + REP_OPPONENT_PERPETUAL);
  EXPECT_EQ(pos.RepetitionScore(status), SCORE_BANNED - pos.distance);
}

TEST(RepetitionStatus, BothSidesCheckingIsADraw) {
  Position pos;
  pos.distance = 0;
  // With both statuses set the perpetual terms cancel and the draw score rules.
  EXPECT_EQ(pos.RepetitionScore(REP_SEEN + REP_OWN_PERPETUAL + REP_OPPONENT_PERPETUAL), -SCORE_DRAW);
  pos.distance = 3;
  EXPECT_EQ(pos.RepetitionScore(REP_SEEN), SCORE_DRAW);
}

// A capture cannot be undone and a null move is a search artefact: either
// one inside the stretch hides the earlier occurrence even though the keys
// match. Marking one record of a real cycle shows it.
TEST(RepetitionStatus, CaptureOrNullMoveCutsTheWalk) {
  Position pos;
  pos.SetUpStart(0);
  Play(pos, {"a0a1", "a9a8", "a1a0", "a8a9"});
  ASSERT_EQ(pos.RepetitionStatus(1), REP_SEEN);
  for (int record = 1; record <= 4; ++record) {
    Position captured = pos;
    captured.history[record].captured = 16 + PAWN;
    EXPECT_EQ(captured.RepetitionStatus(1), 0) << record;
    Position nulled = pos;
    nulled.history[record].move = 0;
    EXPECT_EQ(nulled.RepetitionStatus(1), 0) << record;
  }
  // What lies before the boundary makes no difference.
  Position later = pos;
  later.history[0].keyBefore ^= 1;
  EXPECT_EQ(later.RepetitionStatus(1), REP_SEEN);
}

TEST(RepetitionStatus, OneQuietMoveClearsThatSidesPerpetual) {
  Position pos = FromFen("3k5/9/9/9/9/9/9/9/9/R3K4 w");
  // Red checks, but one of its moves in the stretch (a9a7) gives no check.
  Play(pos, {"a0a9", "d9d8", "a9a7", "d8d9", "a7a9", "d9d8", "a9a7", "d8d9"});
  EXPECT_EQ(pos.RepetitionStatus(1), REP_SEEN);
}

// A line far longer than the history keeps room for a decision at every
// move, still sees the repetitions of its recent moves, and refuses what
// DoMove or the movement rule refuses without changing anything.
TEST(PlayLongGameMove, KeepsLongLinesWithinTheHistory) {
  Position pos;
  pos.SetUpStart(0);
  for (int ply = 0; ply < 1000; ++ply) {
    static const char* const shuffle[] = {"b0c2", "b9c7", "c2b0", "c7b9"};
    ASSERT_TRUE(PlayLongGameMove(pos, Iccs(shuffle[ply % 4]))) << ply;
    ASSERT_LE(pos.historyCount, MAX_DECISION_HISTORY) << ply;
  }
  EXPECT_NE(pos.RepetitionStatus(1), 0);
  const Position before = pos;
  for (const char* refused : {"b0b1", "e0e2"}) {
    EXPECT_FALSE(PlayLongGameMove(pos, Iccs(refused))) << refused;
    EXPECT_EQ(std::memcmp(&pos, &before, sizeof pos), 0) << refused;
  }
  Position pinned = FromFen("3kr4/9/9/9/9/9/9/4C4/9/4K4 w");
  const Position pinnedBefore = pinned;
  EXPECT_FALSE(PlayLongGameMove(pinned, Iccs("e2a2")));
  EXPECT_EQ(std::memcmp(&pinned, &pinnedBefore, sizeof pinned), 0);
}

}  // namespace
}  // namespace lanterra
