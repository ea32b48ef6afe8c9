// The end of a game: mate and stalemate, repetition with and without
// perpetual check, and the natural move limit, in the order they are judged,
// with the box, its sound and what stays unchanged.
#include "tests/controller_fixture.h"

namespace lanterra::test {
namespace {

// Plays the first count moves of a repeating cycle on the current position.
std::vector<const char*> CycleMoves(const std::vector<const char*>& cycle, int count) {
  std::vector<const char*> moves;
  for (int i = 0; i < count; ++i) moves.push_back(cycle[i % cycle.size()]);
  return moves;
}

// The rooks walk their files on cycles of 9 and 8 squares, so no position
// comes back four times within a hundred moves; black moves first.
constexpr const char* LIMIT_FEN = "4k3r/9/9/9/9/1p7/9/9/9/R2K5 b";
std::vector<const char*> RookWalk(int plies) {
  static const char* const redWalk[] = {"a0a1", "a1a2", "a2a3", "a3a4", "a4a5", "a5a6", "a6a7", "a7a8", "a8a0"};
  static const char* const blackWalk[] = {"i9i8", "i8i7", "i7i6", "i6i5", "i5i4", "i4i3", "i3i2", "i2i9"};
  std::vector<const char*> moves;
  for (int ply = 0; ply < plies; ++ply) {
    moves.push_back(ply % 2 == 0 ? blackWalk[(ply / 2) % 8] : redWalk[(ply / 2) % 9]);
  }
  return moves;
}

TEST_F(ControllerTest, HumanMoveThatMatesOrStalematesWinsAndLeavesUndoAlone) {
  struct Case {
    const char* fen;
    const char* move;
  };
  const Case cases[] = {
      {"4k4/R8/9/9/9/9/9/9/9/3K4R w", "i0i9"},  // rook mate along the back rank
      {"3k5/9/R8/9/9/9/9/9/9/4K4 w", "a7a8"},   // stalemate: the black king cannot move
  };
  for (const Case& c : cases) {
    Load(c.fen);
    const uint32_t snapshotKey = game.UndoSnapshot().zobrist.key;
    int gameOverDuringBox = -1;
    window.onBox = [&] { gameOverDuringBox = game.Ui().gameOver ? 1 : 0; };
    const std::string move = c.move;
    Click(move.substr(0, 2).c_str());
    window.Clear();
    Click(move.substr(2, 2).c_str());
    EXPECT_EQ(window.log, (Log{"begin", Framed(move.substr(0, 2).c_str()), Framed(move.substr(2, 2).c_str()),
                               "sound win", "box win", "end"}))
        << c.move;
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, GameOverMessage(TEXT_HUMAN_WINS));
    EXPECT_EQ(window.boxes[0].caption, CAPTION_GAME_OVER);
    EXPECT_EQ(gameOverDuringBox, 1) << "gameOver is set before the box opens";
    EXPECT_TRUE(game.Ui().gameOver);
    EXPECT_FALSE(game.Ui().playAgain);
    EXPECT_EQ(game.UndoSnapshot().zobrist.key, snapshotKey);
    EXPECT_FALSE(game.UndoEnabled());
  }
}

TEST_F(ControllerTest, ComputerMoveThatMatesTheHumanLoses) {
  // Any quiet move lets the black rook mate along the bottom rank.
  Load("3k4r/9/9/9/9/9/2P6/9/r8/4K4 w");
  ClickMove("c3c4");
  EXPECT_EQ(game.Ui().lastMove, ParseIccsMove("i9i0"));
  EXPECT_EQ(window.Sounds(), (Sounds{Sound::SELECT, Sound::HUMAN_MOVE, Sound::LOSS}));
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].text, GameOverMessage(TEXT_COMPUTER_WINS));
  EXPECT_EQ(window.boxes[0].result, GameResult::LOSS);
  EXPECT_TRUE(game.Ui().gameOver);
  // The human's move did not end the game, so it can be taken back.
  EXPECT_TRUE(game.UndoEnabled());
}

TEST_F(ControllerTest, RepetitionAfterTheHumansMoveIsJudgedByWhoKeptChecking) {
  const char* start = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b";
  const char* blackChecks = "3k5/9/9/9/9/9/9/r8/8r/4K4 b";
  const char* redChecks = "4k4/8R/R8/9/9/9/9/9/9/3K5 w";
  const std::vector<const char*> rookShuffle = {"a9a8", "a0a1", "a8a9", "a1a0"};
  const std::vector<const char*> blackRookChecks = {"i1i0", "e0e1", "i0i1", "e1e0"};
  const std::vector<const char*> redRookChecks = {"i8i9", "e9e8", "i9i8", "e8e9"};
  struct Case {
    const char* name;
    const char* fen;
    std::vector<const char*> cycle;
    int prePlayed;
    bool markComputerMovesAsChecks;
    const char* text;
    GameResult result;
    Sound sound;
  };
  const Case cases[] = {
      {"neither checks", start, rookShuffle, 11, false, TEXT_REPETITION_DRAW, GameResult::DRAW, Sound::DRAW},
      {"computer checks", blackChecks, blackRookChecks, 11, false, TEXT_COMPUTER_PERPETUAL, GameResult::WIN, Sound::WIN},
      {"human checks", redChecks, redRookChecks, 12, false, TEXT_HUMAN_PERPETUAL, GameResult::LOSS, Sound::LOSS},
      // Both sides checking throughout: the computer's king steps are marked
      // as checks, as the records of such a cycle would carry them.
      {"both check", redChecks, redRookChecks, 12, true, TEXT_REPETITION_DRAW, GameResult::DRAW, Sound::DRAW},
  };
  for (const Case& c : cases) {
    Load(c.fen);
    Play(CycleMoves(c.cycle, c.prePlayed));
    if (c.markComputerMovesAsChecks) {
      Position pos = game.CurrentPosition();
      for (int i = pos.historyCount - 1; i >= 1; i -= 2) pos.history[i].inCheck = 1;
      Relay(pos);
    }
    const int before = game.CurrentPosition().historyCount;
    ClickMove(c.cycle[c.prePlayed % c.cycle.size()]);
    ASSERT_EQ(window.boxes.size(), 1u) << c.name;
    EXPECT_EQ(window.boxes[0].text, GameOverMessage(c.text)) << c.name;
    EXPECT_EQ(window.boxes[0].result, c.result) << c.name;
    EXPECT_EQ(window.Sounds(), (Sounds{Sound::SELECT, c.sound})) << c.name;
    // The game ended on the human's move: the computer did not answer.
    EXPECT_EQ(game.CurrentPosition().historyCount, before + 1) << c.name;
    EXPECT_TRUE(game.Ui().gameOver) << c.name;
    EXPECT_FALSE(game.UndoEnabled()) << c.name;
  }
}

TEST_F(ControllerTest, PerpetualCheckByTheHumanEndsAfterTheComputersForcedReply) {
  // Red checks with the rook on every move; the black king's step is forced
  // each time. The fourth occurrence of the start comes with the computer's
  // sixth reply.
  Load("4k4/8R/R8/9/9/9/9/9/9/3K5 w");
  for (int i = 0; i < 6; ++i) {
    ASSERT_EQ(window.boxes.size(), 0u) << "move " << i;
    ClickMove(i % 2 == 0 ? "i8i9" : "i9i8");
  }
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].text, GameOverMessage(TEXT_HUMAN_PERPETUAL));
  EXPECT_EQ(window.boxes[0].result, GameResult::LOSS);
  EXPECT_EQ(game.CurrentPosition().historyCount, 13);
  EXPECT_EQ(game.Ui().lastMove, ParseIccsMove("e8e9"));
  const Sounds sounds = window.Sounds();
  const Sounds lastMoveSounds(sounds.end() - 3, sounds.end());
  // The final reply plays only the loss sound, no move sound.
  EXPECT_EQ(lastMoveSounds, (Sounds{Sound::SELECT, Sound::HUMAN_CHECK, Sound::LOSS}));
  EXPECT_EQ(std::count(sounds.begin(), sounds.end(), Sound::COMPUTER_MOVE), 5);
}

TEST_F(ControllerTest, HundredthMoveSinceTheLastCaptureDrawsEvenWhenItCaptures) {
  struct Case {
    const char* finalMove;
    bool captures;
  };
  for (const Case c : {Case{"a4a5", false}, Case{"a4b4", true}}) {
    Load(LIMIT_FEN);
    Play(RookWalk(99));
    ASSERT_EQ(game.CurrentPosition().historyCount, 100);
    ClickMove(c.finalMove);
    ASSERT_EQ(window.boxes.size(), 1u) << c.finalMove;
    EXPECT_EQ(window.boxes[0].text, GameOverMessage(TEXT_MOVE_LIMIT_DRAW)) << c.finalMove;
    EXPECT_EQ(window.boxes[0].result, GameResult::DRAW);
    EXPECT_EQ(window.Sounds(), (Sounds{Sound::SELECT, Sound::DRAW})) << c.finalMove;
    // Judged before the history would collapse after the capture.
    EXPECT_EQ(game.CurrentPosition().historyCount, 101) << c.finalMove;
    EXPECT_EQ(game.CurrentPosition().LastRecord().captured != 0, c.captures) << c.finalMove;
  }
}

TEST_F(ControllerTest, ComputerReplyCanReachTheMoveLimit) {
  // As above, but the human plays black and makes the 99th move; whatever
  // the computer answers is the 100th.
  Load(LIMIT_FEN, true);
  Play(RookWalk(98));
  ClickMove("i8i7");
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].text, GameOverMessage(TEXT_MOVE_LIMIT_DRAW));
  EXPECT_EQ(game.CurrentPosition().historyCount, 101);
  EXPECT_EQ(game.CurrentPosition().side, SIDE_BLACK);
  EXPECT_TRUE(game.UndoEnabled());
}

TEST_F(ControllerTest, MateIsJudgedBeforeTheMoveLimit) {
  // The mating move is also the hundredth since the last capture.
  Load("4k4/R8/9/9/9/9/9/9/9/3K4R w");
  Position pos = game.CurrentPosition();
  pos.historyCount = 100;
  for (int i = 1; i < 100; ++i) pos.history[i] = MoveRecord{1, 0, 0, uint32_t(i)};
  Relay(pos);
  ClickMove("i0i9");
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].text, GameOverMessage(TEXT_HUMAN_WINS));
}

}  // namespace
}  // namespace lanterra::test
