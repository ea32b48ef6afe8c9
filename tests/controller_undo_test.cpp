// One step of undo, the play-again answer, and the menu operations the
// controller offers.
#include "tests/controller_fixture.h"

namespace lanterra::test {
namespace {

// Red to move; i8i9 forces the king to e8, and a1a8 then mates.
constexpr const char* MATE_IN_TWO = "4k4/8R/9/4P4/9/9/9/9/R8/3K5 w";

// The first legal move that takes nothing, so the history keeps it.
Move FirstQuietMove(const Position& pos) {
  Move legal[MAX_MOVES_PER_POSITION];
  const int count = LegalMoves(pos, legal);
  for (int i = 0; i < count; ++i) {
    if (pos.squares[MoveTo(legal[i])] == 0) return legal[i];
  }
  return 0;
}

TEST_F(ControllerTest, NewGamePlaysItsSoundPaintsAndGraysUndo) {
  EXPECT_TRUE(game.StartGame(0, false));
  EXPECT_EQ(window.log, (Log{"undo off", "sound new-game", "begin", "board", "end"}));
  EXPECT_FALSE(game.UndoEnabled());
  window.Clear();
  // Right after a new game there is nothing to take back.
  EXPECT_FALSE(game.Undo());
  EXPECT_TRUE(window.log.empty());
}

TEST_F(ControllerTest, UndoTakesBackTheHumanMoveAndTheReply) {
  struct Case {
    bool humanPlaysBlack;
  };
  for (const Case c : {Case{false}, Case{true}}) {
    game.StartGame(0, c.humanPlaysBlack);
    // When the computer opens, the game's start for undo is after its move.
    const Position opening = game.CurrentPosition();
    EXPECT_EQ(opening.historyCount, c.humanPlaysBlack ? 2 : 1);
    const Move mv = FirstQuietMove(game.CurrentPosition());
    ASSERT_NE(mv, 0);
    game.OnBoardClick(game.Ui().flipped ? FlipSquare(MoveFrom(mv)) : MoveFrom(mv));
    game.OnBoardClick(game.Ui().flipped ? FlipSquare(MoveTo(mv)) : MoveTo(mv));
    ASSERT_TRUE(game.UndoEnabled());
    ASSERT_EQ(game.CurrentPosition().side, opening.side);
    ASSERT_NE(game.CurrentPosition().zobrist.key, opening.zobrist.key);

    window.Clear();
    EXPECT_TRUE(game.Undo());
    EXPECT_EQ(window.log, (Log{"undo off", "begin", "board", "end"}));
    EXPECT_EQ(ToFen(game.CurrentPosition()), ToFen(opening));
    EXPECT_EQ(game.CurrentPosition().zobrist.key, opening.zobrist.key);
    EXPECT_EQ(game.CurrentPosition().historyCount, opening.historyCount);
    EXPECT_EQ(game.Ui().lastMove, 0);
    EXPECT_EQ(game.Ui().selectedSquare, 0);
    EXPECT_FALSE(game.UndoEnabled());
    // Only one step: a second undo is refused.
    EXPECT_FALSE(game.Undo());
  }
}

TEST_F(ControllerTest, AfterNoTheFinalPositionStaysAndClicksOnlySelect) {
  Load(MATE_IN_TWO);
  const Position beforeFirstMove = game.CurrentPosition();
  ClickMove("i8i9");
  ASSERT_EQ(game.Ui().lastMove, ParseIccsMove("e9e8"));
  window.answers = {Answer::NO};
  ClickMove("a1a8");
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].text, GameOverMessage(TEXT_HUMAN_WINS));
  EXPECT_TRUE(game.Ui().gameOver);
  EXPECT_FALSE(game.Ui().playAgain);
  EXPECT_FALSE(game.Ui().flipped);
  // The game-ending move kept the earlier snapshot and the Undo item.
  EXPECT_TRUE(game.UndoEnabled());
  EXPECT_EQ(game.UndoSnapshot().zobrist.key, beforeFirstMove.zobrist.key);

  // The computer is to move now: its king can be picked up, but not moved.
  window.Clear();
  Click("e8");
  EXPECT_EQ(window.log, (Log{"begin", Framed("e8"), Plain("a1"), Plain("a8"), "sound select", "end"}));
  window.Clear();
  Click("f8");
  EXPECT_EQ(window.log, (Log{"begin", "end"}));
  EXPECT_EQ(game.Ui().selectedSquare, Sq("e8"));
  EXPECT_TRUE(game.Ui().gameOver);

  // Undo from the finished game goes back before the human's previous move.
  EXPECT_TRUE(game.Undo());
  EXPECT_FALSE(game.Ui().gameOver);
  EXPECT_EQ(ToFen(game.CurrentPosition()), ToFen(beforeFirstMove));
  EXPECT_EQ(game.CurrentPosition().historyCount, 1);
}

TEST_F(ControllerTest, YesSwapsSidesAndStartsTheNormalSetup) {
  struct Case {
    const char* fen;
    bool humanPlaysBlack;
    std::vector<const char*> moves;
  };
  const Case cases[] = {
      // After a game as red the computer opens the next game as red.
      {MATE_IN_TWO, false, {"i8i9", "a1a8"}},
      // After a game as black the human opens the next one.
      {"3k4r/9/9/9/9/9/9/9/r8/4K4 b", true, {"i9i0"}},
  };
  for (const Case& c : cases) {
    Load(c.fen, c.humanPlaysBlack);
    for (size_t i = 0; i + 1 < c.moves.size(); ++i) ClickMove(c.moves[i]);
    window.answers = {Answer::YES};
    const std::string last = c.moves.back();
    Click(last.substr(0, 2).c_str());
    window.Clear();
    Click(last.substr(2, 2).c_str());

    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, GameOverMessage(TEXT_HUMAN_WINS));
    // The new game starts only after this click's drawing is over.
    const int boxAt = Find("box win");
    const int endAt = Find("end", boxAt);
    ASSERT_GE(boxAt, 0);
    ASSERT_EQ(endAt, boxAt + 1);
    const Log newGameStart(window.log.begin() + endAt + 1,
                           window.log.begin() + std::min<size_t>(endAt + 5, window.log.size()));
    EXPECT_EQ(newGameStart, (Log{"undo off", "sound new-game", "begin", "board"}));
    EXPECT_EQ(window.log.back(), "end");

    EXPECT_EQ(game.Ui().flipped, c.humanPlaysBlack ? 0 : 1);
    EXPECT_FALSE(game.Ui().gameOver);
    EXPECT_FALSE(game.UndoEnabled());
    Position normal;
    normal.SetUpStart(0);
    EXPECT_EQ(ToFen(game.UndoSnapshot()), ToFen(normal));
    if (c.humanPlaysBlack) {
      // The human is red now and opens: nothing was played.
      EXPECT_EQ(ToFen(game.CurrentPosition()), ToFen(normal));
      EXPECT_EQ(Find("cursor wait", endAt), -1);
    } else {
      // The computer has opened as red at once; black is to move.
      EXPECT_EQ(game.CurrentPosition().side, SIDE_BLACK);
      EXPECT_EQ(game.CurrentPosition().historyCount, 2);
      EXPECT_NE(game.Ui().lastMove, 0);
      EXPECT_GT(Find("cursor wait", endAt), endAt);
    }
    EXPECT_EQ(window.misplacedDrawCalls, 0);
  }
}

TEST_F(ControllerTest, MenuOperationsRefuseArgumentsOutOfRange) {
  game.StartGame(0, false);
  const std::string fen = ToFen(game.CurrentPosition());
  window.Clear();
  EXPECT_FALSE(game.StartGame(4, false));
  EXPECT_FALSE(game.StartGame(-1, true));
  EXPECT_FALSE(game.SetLevel(7));
  EXPECT_FALSE(game.SetLevel(-1));
  EXPECT_TRUE(window.log.empty());
  EXPECT_EQ(ToFen(game.CurrentPosition()), fen);
  EXPECT_FALSE(game.Ui().flipped);
  EXPECT_EQ(game.Ui().level, 0);

  EXPECT_TRUE(game.SetLevel(2));
  EXPECT_EQ(game.Ui().level, 2);
  ClickMove("h2e2");
  EXPECT_EQ(SharedEngine().Level(), 2) << "the engine thinks at the level chosen";
}

TEST_F(ControllerTest, ReplyWithoutALegalMoveIsNotPlayed) {
  // The computer (red) opens in a position where it is already mated: the
  // engine has nothing to offer, and nothing may be played on the board.
  Position mated;
  std::string error;
  ASSERT_TRUE(ParseFen("3k5/9/9/9/9/9/9/9/r8/4K3r w", mated, error)) << error;
  game.StartGame(mated, true);
  EXPECT_EQ(ToFen(game.CurrentPosition()), ToFen(mated));
  EXPECT_EQ(game.CurrentPosition().historyCount, 1);
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].text, GameOverMessage(TEXT_HUMAN_WINS));
  EXPECT_EQ(window.log.back(), "end");
}

}  // namespace
}  // namespace lanterra::test
