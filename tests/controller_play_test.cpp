// Selection, human moves and their sounds, the computer's reply and the
// flipped board, checked through the log of the recording window.
#include "tests/controller_fixture.h"

namespace lanterra::test {
namespace {

TEST_F(ControllerTest, ClicksSelectOnlyPiecesOfTheSideToMove) {
  game.StartGame(0, false);
  window.Clear();
  struct Step {
    const char* square;
    Log expected;
    const char* selectedAfter;  // nullptr: nothing selected
  };
  const Step steps[] = {
      // Nothing selected: an empty square and an opponent's piece do nothing.
      {"e4", {"begin", "end"}, nullptr},
      {"h7", {"begin", "end"}, nullptr},
      {"h2", {"begin", Framed("h2"), "sound select", "end"}, "h2"},
      // Another own piece takes the frame over.
      {"b0", {"begin", Plain("h2"), Framed("b0"), "sound select", "end"}, "b0"},
      // The selected piece again stays selected and clicks again.
      {"b0", {"begin", Plain("b0"), Framed("b0"), "sound select", "end"}, "b0"},
      // A square the knight cannot reach keeps the selection, silently.
      {"b5", {"begin", "end"}, "b0"},
      // An opponent's piece out of reach likewise.
      {"b9", {"begin", "end"}, "b0"},
  };
  for (const Step& step : steps) {
    window.Clear();
    Click(step.square);
    EXPECT_EQ(window.log, step.expected) << "click " << step.square;
    EXPECT_EQ(game.Ui().selectedSquare, step.selectedAfter ? Sq(step.selectedAfter) : 0) << step.square;
  }
  EXPECT_EQ(ToFen(game.CurrentPosition()), ToFen(game.UndoSnapshot()));
  EXPECT_EQ(window.misplacedDrawCalls, 0);
}

TEST_F(ControllerTest, AcceptedMoveDrawsSoundsEnablesUndoAndLetsTheComputerReply) {
  game.StartGame(0, false);
  window.Clear();
  ClickMove("h2e2");
  const Move reply = game.Ui().lastMove;
  ASSERT_NE(reply, 0);
  // The reply's own sound depends on the move the engine chose.
  ASSERT_EQ(window.log.size(), 17u);
  const std::string replySound = window.log[15];
  EXPECT_TRUE(replySound == "sound computer-move" || replySound == "sound computer-capture" || replySound == "sound computer-check") << replySound;
  const Log expected = {"begin", Framed("h2"), "sound select", "end",
                        "begin", Framed("h2"), Framed("e2"), "sound human-move", "undo on",
                        "cursor wait", "cursor arrow", Plain("h2"), Plain("e2"),
                        Framed(MoveFrom(reply)), Framed(MoveTo(reply)), replySound, "end"};
  EXPECT_EQ(window.log, expected);
  EXPECT_EQ(game.CurrentPosition().side, SIDE_RED);
  EXPECT_EQ(game.Ui().selectedSquare, 0);
  EXPECT_FALSE(game.Ui().gameOver);
  EXPECT_TRUE(game.UndoEnabled());
  EXPECT_TRUE(game.CurrentPosition().IsConsistent());

  // Selecting a piece takes the frames off the computer's move.
  window.Clear();
  Click("a0");
  EXPECT_EQ(window.log, (Log{"begin", Framed("a0"), Plain(MoveFrom(reply)), Plain(MoveTo(reply)),
                             "sound select", "end"}));
  EXPECT_EQ(game.Ui().lastMove, 0);
}

TEST_F(ControllerTest, IllegalShapesAreIgnoredAndMovesIntoCheckRefused) {
  struct Case {
    const char* fen;
    const char* move;
    bool refused;  // true: the refusal sound; false: silence
  };
  const Case cases[] = {
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "a0b1", false},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "e3e5", false},
      // The knight's leg is blocked by the bishop.
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "b0d1", false},
      // Stepping the king onto the rook's file.
      {"5k3/9/9/3r5/9/9/9/9/9/4K4 w", "e0d0", true},
      // The knight leaves the file between the kings: they would face.
      {"4k4/9/9/9/4N4/9/9/9/9/4K4 w", "e5c6", true},
  };
  for (const Case& c : cases) {
    Load(c.fen);
    const std::string move = c.move;
    Click(move.substr(0, 2).c_str());
    const Position before = game.CurrentPosition();
    window.Clear();
    Click(move.substr(2, 2).c_str());
    const Log expected = c.refused ? Log{"begin", "sound refused", "end"} : Log{"begin", "end"};
    EXPECT_EQ(window.log, expected) << c.move;
    EXPECT_EQ(game.Ui().selectedSquare, Sq(move.substr(0, 2).c_str())) << c.move;
    EXPECT_EQ(ToFen(game.CurrentPosition()), ToFen(before)) << c.move;
    EXPECT_EQ(game.CurrentPosition().historyCount, before.historyCount) << c.move;
    EXPECT_EQ(game.CurrentPosition().zobrist.key, before.zobrist.key) << c.move;
    EXPECT_FALSE(game.UndoEnabled()) << c.move;
  }
}

TEST_F(ControllerTest, MoveSoundsPreferCheckOverCaptureAndCapturesCollapseTheHistory) {
  struct Case {
    const char* fen;
    const char* move;
    Sound humanSound;
    Sound computerSound;
    int historyAfterReply;
  };
  const Case cases[] = {
      // Check; the king's only way out is up.
      {"4k4/8R/R8/9/9/9/9/9/9/3K5 w", "i8i9", Sound::HUMAN_CHECK, Sound::COMPUTER_MOVE, 3},
      // Capture without check: the history restarts, the king's step follows.
      {"4k4/9/9/9/p8/9/9/9/R8/3K5 w", "a1a5", Sound::HUMAN_CAPTURE, Sound::COMPUTER_MOVE, 2},
      // Capture with check: the check sound, and still the collapse.
      {"4k4/9/9/9/4p4/9/9/9/4R4/3K5 w", "e1e5", Sound::HUMAN_CHECK, Sound::COMPUTER_MOVE, 2},
      // The king's only answer is to take the checking rook.
      {"4k4/R8/9/9/9/9/9/9/3R5/5K3 w", "a8e8", Sound::HUMAN_CHECK, Sound::COMPUTER_CAPTURE, 1},
      // The pinned pawn's only move gives check.
      {"4k4/3P1P3/9/9/9/9/9/4p4/9/R3K4 w", "a0a3", Sound::HUMAN_MOVE, Sound::COMPUTER_CHECK, 3},
  };
  for (const Case& c : cases) {
    Load(c.fen);
    ClickMove(c.move);
    EXPECT_EQ(window.Sounds(), (Sounds{Sound::SELECT, c.humanSound, c.computerSound})) << c.move;
    EXPECT_EQ(game.CurrentPosition().historyCount, c.historyAfterReply) << c.move;
    EXPECT_TRUE(game.CurrentPosition().IsConsistent()) << c.move;
    EXPECT_FALSE(game.Ui().gameOver) << c.move;
  }
  // After the capture with check the base record knows black was in check.
  Load("4k4/9/9/9/4p4/9/9/9/4R4/3K5 w");
  ClickMove("e1e5");
  EXPECT_EQ(game.CurrentPosition().history[0].inCheck, 1);
  EXPECT_EQ(game.Ui().lastMove, ParseIccsMove("e9f9"));
}

TEST_F(ControllerTest, FlippedBoardMapsScreenSquaresThroughAHalfTurn) {
  // The human plays black; a black rook stands on board rank 12, file 11.
  Load("4k4/9/9/9/9/9/9/9/9/3K1A2r b", true);
  game.OnBoardClick(SquareAt(3, 3));
  EXPECT_EQ(window.log, (Log{"begin", Framed(SquareAt(12, 11)), "sound select", "end"}));
  EXPECT_EQ(game.Ui().selectedSquare, SquareAt(12, 11));

  window.Clear();
  game.OnBoardClick(SquareAt(4, 3));
  ASSERT_GE(window.log.size(), 4u);
  EXPECT_EQ(window.log[1], Framed(SquareAt(12, 11)));
  EXPECT_EQ(window.log[2], Framed(SquareAt(11, 11)));
  EXPECT_EQ(game.CurrentPosition().squares[SquareAt(11, 11)], SideBit(SIDE_BLACK) + ROOK);
  // The computer (red) answered and black is to move again.
  EXPECT_EQ(game.CurrentPosition().side, SIDE_BLACK);

  // A click in the margin, wherever it lands after the flip, does nothing.
  window.Clear();
  game.OnBoardClick(SquareAt(1, 1));
  game.OnBoardClick(0);
  EXPECT_EQ(window.log, (Log{"begin", "end", "begin", "end"}));
}

}  // namespace
}  // namespace lanterra::test
