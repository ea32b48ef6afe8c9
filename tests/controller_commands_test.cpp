// The menu's commands by their ids, a game-over question answered after the
// click that raised it, and the record of the moves so far.
#include <set>

#include "app/menu_texts.h"
#include "tests/controller_fixture.h"

namespace lanterra::test {
namespace {

// Red mates at once with i0i9.
constexpr const char* MATE_IN_ONE = "4k4/R8/9/9/9/9/9/9/9/3K4R w";

bool IsValidAddress(const std::string& address) {
  for (unsigned char c : address) {
    if (c <= ' ' || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\') return false;
  }
  return address.starts_with("http://") || address.starts_with("https://");
}

TEST_F(ControllerTest, NewGameIdsGiveTheSetupAndSideOfTheirItem) {
  // 401..404: the human plays red, setup id - 401; 405..408: black, id - 405.
  for (int id = IDC_NEW_RED; id <= IDC_NEW_BLACK_LAST; ++id) {
    const bool black = id >= IDC_NEW_BLACK;
    Position expected;
    expected.SetUpStart(id - (black ? IDC_NEW_BLACK : IDC_NEW_RED));
    ASSERT_TRUE(game.Run(*CommandForId(id))) << id;
    EXPECT_EQ(game.Ui().flipped, black) << id;
    EXPECT_EQ(ToFen(game.Record().start), ToFen(expected)) << id;
    EXPECT_EQ(game.Record().moves.size(), black ? 1u : 0u) << id << ": the computer opens as red";
  }
  for (int id : {0, 400, 409, 410, 418, IDC_EXIT, 486, 490, 496, 500}) {
    EXPECT_FALSE(CommandForId(id).has_value()) << id;
  }
}

TEST_F(ControllerTest, MenuCommandsMarkTheMenuAndShowTheirBoxes) {
  game.StartGame(0, false);
  struct Step {
    int id;
    Log expected;
  };
  const Step steps[] = {
      {IDC_LEVEL_4, {"marks 4 on"}},
      {IDC_LEVEL_LAST, {"marks 6 on", "message information"}},
      {IDC_LEVEL_FIRST, {"marks 0 on"}},
      {IDC_UNDO, {}},  // nothing to take back yet
      {IDC_QUOTE, {"beep", "message quote"}},
      {IDC_ABOUT, {"beep", "message program"}},
      {IDC_COPY_RECOMMENDATION, {"copy", "message information"}},
      {IDC_SOUND, {"marks 0 off"}},
      // Without sound the boxes come without the beep.
      {IDC_QUOTE, {"message quote"}},
      {IDC_ABOUT, {"message program"}},
      {IDC_SOUND, {"marks 0 on"}},
  };
  for (const Step& step : steps) {
    window.Clear();
    SharedEngine().Seed(step.id);
    const int draw = SharedEngine().NextRandom();
    SharedEngine().Seed(step.id);
    EXPECT_EQ(game.Run(*CommandForId(step.id)), step.id != IDC_UNDO) << step.id;
    EXPECT_EQ(window.log, step.expected) << step.id;
    if (step.id == IDC_QUOTE) {
      // The generator's next value modulo 12.
      EXPECT_EQ(window.messages[0].text, QUOTES[draw % 12]);
      EXPECT_EQ(window.messages[0].caption, CAPTION_QUOTE);
    }
  }
  window.Clear();
  game.Run(*CommandForId(IDC_LEVEL_LAST));
  EXPECT_EQ(window.messages[0].text, TEXT_LEVEL6_WARNING);
  EXPECT_EQ(window.messages[0].caption, std::string("Lanterra"));

  // A clipboard that cannot be opened gets the warning instead of the thanks.
  for (bool works : {true, false}) {
    window.Clear();
    window.clipboardWorks = works;
    game.Run(*CommandForId(IDC_COPY_RECOMMENDATION));
    EXPECT_TRUE(window.copied.ends_with(std::string(" \r\n") + PRODUCT_PAGE)) << window.copied;
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, works ? TEXT_RECOMMENDATION_COPIED : TEXT_CLIPBOARD_UNAVAILABLE);
    EXPECT_EQ(window.messages[0].icon, works ? BoxIcon::INFORMATION : BoxIcon::WARNING);
  }
}

TEST_F(ControllerTest, WebPageIdsOpenDistinctValidAddresses) {
  std::set<std::string> addresses;
  for (int id : {IDC_SHARE_QZONE, IDC_SHARE_WEIBO, IDC_SHARE_KAIXIN, IDC_SHARE_RENREN, IDC_LATEST_VERSION,
                 IDC_MAKER_HOME, IDC_SIBLING_PRODUCT, IDC_FEEDBACK}) {
    window.Clear();
    ASSERT_TRUE(game.Run(*CommandForId(id))) << id;
    ASSERT_EQ(window.log.size(), 1u) << id;
    const std::string address = window.log[0].substr(std::string("page ").size());
    EXPECT_TRUE(IsValidAddress(address)) << address;
    // Every share points to the product page.
    if (id <= IDC_SHARE_RENREN) {
      EXPECT_TRUE(address.ends_with(PRODUCT_PAGE)) << address;
    }
    addresses.insert(address);
  }
  EXPECT_EQ(addresses.size(), 8u);
}

TEST_F(ControllerTest, GameOverQuestionLeftOpenIsAnsweredLater) {
  struct Case {
    bool yes;
  };
  for (const Case c : {Case{true}, Case{false}}) {
    Load(MATE_IN_ONE);
    window.answers = {Answer::LATER};
    ClickMove("i0i9");
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_TRUE(game.Ui().gameOver);
    EXPECT_TRUE(game.GameOverQuestionOpen());
    EXPECT_EQ(window.log.back(), "end") << "nothing follows the box in the click";

    window.Clear();
    EXPECT_TRUE(game.AnswerGameOver(c.yes));
    EXPECT_FALSE(game.GameOverQuestionOpen());
    if (c.yes) {
      // The sides swap: the computer opens the normal start as red at once.
      ASSERT_GE(window.log.size(), 4u);
      const Log newGame(window.log.begin(), window.log.begin() + 4);
      EXPECT_EQ(newGame, (Log{"undo off", "sound new-game", "begin", "board"}));
      EXPECT_TRUE(game.Ui().flipped);
      EXPECT_FALSE(game.Ui().gameOver);
      EXPECT_EQ(game.Record().moves.size(), 1u);
    } else {
      EXPECT_TRUE(window.log.empty());
      EXPECT_TRUE(game.Ui().gameOver);
    }
    EXPECT_EQ(window.misplacedDrawCalls, 0);
    // A second answer finds no question.
    window.Clear();
    EXPECT_FALSE(game.AnswerGameOver(true));
    EXPECT_TRUE(window.log.empty());
  }

  // A new game drops the question of the old one.
  Load(MATE_IN_ONE);
  window.answers = {Answer::LATER};
  ClickMove("i0i9");
  game.StartGame(0, false);
  EXPECT_FALSE(game.AnswerGameOver(true));
  EXPECT_FALSE(game.Ui().flipped);
}

TEST_F(ControllerTest, RecordReplaysToTheCurrentPositionAndTheUndoSnapshot) {
  game.StartGame(0, true);
  Position replayed;
  for (const char* move : {"h7e7", "b9c7"}) {
    ClickMove(move);
    EXPECT_EQ(Replay(game.Record(), replayed), Ending::NONE);
    ExpectSamePosition(replayed, game.CurrentPosition());
  }
  EXPECT_EQ(game.Record().moves.size(), 5u);
  EXPECT_EQ(game.Record().undoMoves, 3u);
  GameRecord beforeLastMove = game.Record();
  beforeLastMove.moves.resize(beforeLastMove.undoMoves);
  Replay(beforeLastMove, replayed);
  ExpectSamePosition(replayed, game.UndoSnapshot());

  ASSERT_TRUE(game.Undo());
  EXPECT_EQ(game.Record().moves.size(), 3u);
  Replay(game.Record(), replayed);
  ExpectSamePosition(replayed, game.CurrentPosition());

  // The ending is the judgement of the last move, and Undo takes it back.
  Load(MATE_IN_ONE);
  ClickMove("i0i9");
  EXPECT_EQ(game.Record().ending, Ending::MATE);
  EXPECT_EQ(Replay(game.Record(), replayed), Ending::MATE);
  game.StartGame(0, false);
  EXPECT_EQ(game.Record().ending, Ending::NONE);
  EXPECT_TRUE(game.Record().moves.empty());
}

}  // namespace
}  // namespace lanterra::test
