// The saved game: a game written as text and resumed is the same game, goes
// on with the same decisions, and every kind of bad text is refused whole.
#include <cstring>
#include <functional>

#include "app/saved_game.h"
#include "tests/controller_fixture.h"

namespace lanterra::test {
namespace {

constexpr const char* MATE_IN_TWO = "4k4/8R/9/4P4/9/9/9/9/R8/3K5 w";
// Red, the computer, is already mated when the game starts.
constexpr const char* COMPUTER_MATED = "3k5/9/9/9/9/9/9/9/r8/4K3r w";

void ExpectSameRecords(const Position& a, const Position& b) {
  ExpectSamePosition(a, b);
  EXPECT_EQ(std::memcmp(&a.zobrist, &b.zobrist, sizeof a.zobrist), 0);
  EXPECT_EQ(a.redScore, b.redScore);
  EXPECT_EQ(a.blackScore, b.blackScore);
  // The repetition rule reads the history back to the last capture.
  for (int i = 0; i < std::min(a.historyCount, b.historyCount); ++i) {
    EXPECT_EQ(std::memcmp(&a.history[i], &b.history[i], sizeof(MoveRecord)), 0) << "history record " << i;
  }
}

class SavedGameTest : public ControllerTest {
 protected:
  RecordingWindow otherWindow;
  GameController other{otherWindow, SharedEngine()};

  // Human moves, each the first capture on offer or else the first legal
  // move, with the computer's replies.
  void PlayTurns(int turns) {
    for (int t = 0; t < turns && !game.Ui().gameOver; ++t) {
      Position pos = game.CurrentPosition();
      Move moves[MAX_MOVES_PER_POSITION];
      const int count = LegalMoves(pos, moves);
      ASSERT_GT(count, 0);
      const Move* capture = std::find_if(moves, moves + count, [&](Move mv) { return pos.squares[MoveTo(mv)]; });
      ClickMove(IccsMove(capture != moves + count ? *capture : moves[0]).c_str());
    }
  }

  // Resumes text in the other controller, with the generator moved on in
  // between, and expects the game as `game` has it.
  void ExpectResumedAsPlayed(const std::string& text) {
    const uint32_t random = SharedEngine().RandomState();
    SharedEngine().Seed(random + 12345);
    other.Start();
    std::string error;
    ASSERT_TRUE(other.Resume(text, error)) << error << "\n" << text;
    ExpectSameRecords(other.CurrentPosition(), game.CurrentPosition());
    ExpectSameRecords(other.UndoSnapshot(), game.UndoSnapshot());
    EXPECT_EQ(other.Record().moves, game.Record().moves);
    EXPECT_EQ(other.Record().undoMoves, game.Record().undoMoves);
    EXPECT_EQ(other.Record().ending, game.Record().ending);
    EXPECT_EQ(ToFen(other.Record().start), ToFen(game.Record().start));
    EXPECT_EQ(other.UndoEnabled(), game.UndoEnabled());
    EXPECT_EQ(other.GameOverQuestionOpen(), game.GameOverQuestionOpen());
    const UiState& a = other.Ui();
    const UiState& b = game.Ui();
    EXPECT_EQ(a.lastMove, b.lastMove);
    EXPECT_EQ(a.flipped, b.flipped);
    EXPECT_EQ(a.gameOver, b.gameOver);
    EXPECT_EQ(a.soundOn, b.soundOn);
    EXPECT_EQ(a.level, b.level);
    EXPECT_EQ(SharedEngine().RandomState(), random);
    EXPECT_EQ(other.SavedText(), text);
  }
};

TEST_F(SavedGameTest, WrittenAndResumedIsTheSameGame) {
  struct Case {
    const char* name;
    std::function<void()> play;
  };
  const Case cases[] = {
      {"the start", [&] { game.Start(); }},
      {"captures as red",
       [&] {
         game.StartGame(0, false);
         game.SetLevel(1);
         PlayTurns(6);
         // A capture restarted the history the resumed game must keep.
         EXPECT_LT(game.CurrentPosition().historyCount, int(game.Record().moves.size()) + 1);
       }},
      {"black, sound off, a quotation",
       [&] {
         game.StartGame(2, true);
         game.ToggleSound();
         game.Run(SimpleCommand(CommandKind::QUOTE));
         PlayTurns(3);
       }},
      {"after undo",
       [&] {
         game.StartGame(0, false);
         PlayTurns(3);
         game.Undo();
       }},
      {"game over, question open",
       [&] {
         Load(MATE_IN_TWO);
         ClickMove("i8i9");
         window.answers = {Answer::LATER};
         ClickMove("a1a8");
       }},
      {"game over, answered No",
       [&] {
         Load(MATE_IN_TWO);
         ClickMove("i8i9");
         window.answers = {Answer::LATER};
         ClickMove("a1a8");
         game.AnswerGameOver(false);
       }},
      {"the computer had no move",
       [&] {
         Position mated;
         std::string error;
         ASSERT_TRUE(ParseFen(COMPUTER_MATED, mated, error));
         window.answers = {Answer::LATER};
         game.StartGame(mated, true);
         EXPECT_TRUE(game.Ui().gameOver);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.play();
    ExpectResumedAsPlayed(game.SavedText());
  }
}

TEST_F(SavedGameTest, EveryChangeIsSavedAndTheHumanMoveBeforeTheReply) {
  struct Case {
    const char* name;
    std::function<void()> change;
    int saves;
  };
  game.StartGame(0, false);
  const Case cases[] = {
      {"level", [&] { game.SetLevel(2); }, 1},
      {"sound", [&] { game.ToggleSound(); }, 1},
      {"quotation", [&] { game.Run(SimpleCommand(CommandKind::QUOTE)); }, 1},
      {"about", [&] { game.Run(SimpleCommand(CommandKind::ABOUT)); }, 0},
      {"a selection", [&] { Click("h2"); }, 0},
      {"move and reply", [&] { Click("e2"); }, 2},
      {"undo", [&] { game.Undo(); }, 1},
      {"refused undo", [&] { game.Undo(); }, 0},
      {"new game, computer opens", [&] { game.StartGame(0, true); }, 2},
  };
  for (const Case& c : cases) {
    const int before = window.changes;
    c.change();
    EXPECT_EQ(window.changes - before, c.saves) << c.name;
  }

  // A game cut short while the computer thinks resumes with the computer to
  // move, and it decides again: the same reply, the generator kept.
  std::vector<std::string> saved;
  window.onChanged = [&] { saved.push_back(game.SavedText()); };
  PlayTurns(1);
  ASSERT_EQ(saved.size(), 2u);
  SharedEngine().Seed(1);
  other.Start();
  std::string error;
  ASSERT_TRUE(other.Resume(saved[0], error)) << error;
  EXPECT_EQ(other.CurrentPosition().side, SIDE_RED);
  other.GoOn();
  EXPECT_EQ(other.SavedText(), saved[1]);
  EXPECT_EQ(otherWindow.misplacedDrawCalls, 0);
}

TEST_F(SavedGameTest, ResumedGamesGoOnAsTheyWere) {
  // The question still open is asked again, with no sound.
  Load(MATE_IN_TWO);
  ClickMove("i8i9");
  window.answers = {Answer::LATER};
  ClickMove("a1a8");
  std::string error;
  ASSERT_TRUE(other.Resume(game.SavedText(), error)) << error;
  otherWindow.answers = {Answer::LATER};
  other.GoOn();
  ASSERT_EQ(otherWindow.boxes.size(), 1u);
  EXPECT_EQ(otherWindow.boxes[0].text, GameOverMessage(TEXT_HUMAN_WINS));
  EXPECT_TRUE(otherWindow.Sounds().empty());
  EXPECT_TRUE(other.AnswerGameOver(true));
  EXPECT_FALSE(other.Ui().gameOver);

  // The repetition rule sees the moves made before the text was saved: the
  // human's next move brings the start back for the fourth time.
  SavedGame saved;
  ASSERT_TRUE(ParseFen("5k2r/9/9/9/9/9/9/9/9/R2K5 w", saved.record.start, error));
  saved.humanPlaysBlack = true;
  Position pos = saved.record.start;
  constexpr const char* CYCLE[] = {"a0a1", "i9i8", "a1a0", "i8i9"};
  for (int i = 0; i < 11; ++i) {
    const Move mv = ParseIccsMove(CYCLE[i % 4]);
    ASSERT_TRUE(pos.DoMove(mv) && JudgeMove(pos) == Ending::NONE);
    saved.record.moves.push_back(mv);
  }
  saved.lastMove = saved.record.moves.back();
  ASSERT_TRUE(game.Resume(WriteSavedGame(saved, pos), error)) << error;
  window.Clear();
  ClickMove("i8i9");
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].text, GameOverMessage(TEXT_REPETITION_DRAW));
}

// The text with one line's value replaced.
std::string WithField(std::string text, const std::string& name, const std::string& value) {
  const size_t at = text.find("\n" + name + " ") + name.size() + 2;
  return text.replace(at, text.find('\n', at) - at, value);
}

std::string FieldOf(const std::string& text, const std::string& name) {
  const size_t at = text.find("\n" + name + " ") + name.size() + 2;
  return text.substr(at, text.find('\n', at) - at);
}

TEST_F(SavedGameTest, BadTextsAreRefusedWithAReasonAndChangeNothing) {
  game.StartGame(0, false);
  PlayTurns(2);
  const std::string good = game.SavedText();
  ASSERT_EQ(FieldOf(good, "undo"), "2 on");
  const std::string moves = FieldOf(good, "moves");
  std::string manyMoves;
  for (size_t i = 0; i <= MAX_SAVED_MOVES; ++i) manyMoves += " h2e2";
  const std::string header = "lanterra saved game 1\n";

  struct Case {
    const char* name;
    std::string text;
    const char* reason;
  };
  const Case cases[] = {
      {"empty", "", "not a saved game"},
      {"garbage", "\x89PNG\r\n\x1a\n", "not a saved game"},
      {"cut in half", good.substr(0, good.size() / 2), "cut short"},
      {"cut after a line", good.substr(0, good.find("\nundo") + 1), "cut short before 'undo'"},
      {"a line out of place", WithField(good, "level", "3\nsound on"), "expected 'random'"},
      {"a newer version", "lanterra saved game 2" + good.substr(header.size() - 1), "newer version (2)"},
      {"an unknown version", "lanterra saved game 0" + good.substr(header.size() - 1), "unknown version"},
      {"a bad start", WithField(good, "start", "rnbakabnr/9 w"), "the start"},
      {"an illegal move", WithField(good, "moves", "a0a5" + moves.substr(4)), "move 1 'a0a5' is illegal"},
      {"not a move", WithField(good, "moves", moves.substr(0, 10) + "x9" + moves.substr(12)),
       "is not a move"},
      {"a level out of range", WithField(good, "level", "7"), "the level"},
      {"a generator out of range", WithField(good, "random", "4294967296"), "the generator"},
      {"undo beyond the moves", WithField(good, "undo", "5 off"), "the undo state"},
      {"undo of the computer's move", WithField(good, "undo", "1 on"), "does not fit"},
      {"an ending the moves do not reach", WithField(good, "over", "asking"), "ends a game its moves do not"},
      {"a framed move not the last", WithField(good, "board", moves.substr(0, 4) + " -"), "not the last move"},
      {"a board the moves do not reach", WithField(good, "board", "- 4k4/9/9/9/9/9/9/9/9/4K4 w - - 0 1"),
       "the board does not show"},
      {"too long", good + std::string(MAX_SAVED_GAME_SIZE, ' '), "more than any game needs"},
      {"too many moves", WithField(good, "moves", manyMoves.substr(1)), "more than any game has"},
  };
  window.Clear();
  const uint32_t random = SharedEngine().RandomState();
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(game.Resume(c.text, error)) << c.name;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
  }
  EXPECT_EQ(game.SavedText(), good);
  EXPECT_EQ(SharedEngine().RandomState(), random);
  EXPECT_TRUE(window.log.empty());
}

TEST_F(SavedGameTest, AMoveAfterTheEndIsRefused) {
  Load(MATE_IN_TWO);
  ClickMove("i8i9");
  ClickMove("a1a8");
  ASSERT_TRUE(game.Ui().gameOver);
  const std::string text = game.SavedText();
  std::string error;
  ResumedGame out;
  EXPECT_FALSE(ReadSavedGame(WithField(text, "moves", FieldOf(text, "moves") + " e8e9"), out, error));
  EXPECT_NE(error.find("after the end of the game"), std::string::npos) << error;
  EXPECT_FALSE(ReadSavedGame(WithField(text, "over", "no"), out, error));
  EXPECT_NE(error.find("the moves end the game"), std::string::npos) << error;
}

}  // namespace
}  // namespace lanterra::test
