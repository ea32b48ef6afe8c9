// The engine plays both sides through the controller: the human's side by
// clicks on the squares of the engine's own choice, the computer's by the
// controller's replies. Every game must end with a game-over box, never run
// past the natural move limit, keep the history within its capacity, and
// leave a record that replays to its final position.
#include <chrono>
#include <map>

#include "tests/controller_fixture.h"

namespace lanterra::test {
namespace {

TEST_F(ControllerTest, SelfPlayAtLevelsZeroAndOneEndsEveryGameByTheRules) {
  constexpr int GAMES = 200;
  // A game needs at most 100 moves between captures and has at most 30
  // captures; far more moves than that means the game never ends.
  constexpr int MOVE_CAP = 31 * 101;
  Engine& engine = SharedEngine();
  engine.Seed(7);
  engine.UseBook(true);

  std::map<std::string, int> endings;
  int maxHistory = 0;
  long humanMoves = 0;
  const auto started = std::chrono::steady_clock::now();

  for (int g = 0; g < GAMES; ++g) {
    const int computerLevel = g % 2;
    const int humanLevel = (g / 2) % 2;
    const int setup = (g / 4) % 4;
    const bool humanPlaysBlack = (g / 16) % 2 == 1;
    SCOPED_TRACE("game " + std::to_string(g) + ", setup " + std::to_string(setup) +
                 (humanPlaysBlack ? ", human black" : ", human red"));
    ASSERT_TRUE(game.SetLevel(computerLevel));
    ASSERT_TRUE(game.StartGame(setup, humanPlaysBlack));
    window.Clear();

    int moves = 0;
    while (!game.Ui().gameOver) {
      ASSERT_LT(moves++, MOVE_CAP);
      const int humanSide = humanPlaysBlack ? SIDE_BLACK : SIDE_RED;
      ASSERT_EQ(game.CurrentPosition().side, humanSide);
      engine.SetLevel(humanLevel);
      Position pos = game.CurrentPosition();
      const Move mv = engine.Decide(pos).move;
      ASSERT_NE(mv, 0);
      const uint32_t keyBefore = game.CurrentPosition().zobrist.key;
      game.OnBoardClick(humanPlaysBlack ? FlipSquare(MoveFrom(mv)) : MoveFrom(mv));
      game.OnBoardClick(humanPlaysBlack ? FlipSquare(MoveTo(mv)) : MoveTo(mv));
      ASSERT_NE(game.CurrentPosition().zobrist.key, keyBefore) << "the click pair played no move";
      ASSERT_LE(game.CurrentPosition().historyCount, 101);
      ASSERT_LE(game.CurrentPosition().historyCount, MOVE_HISTORY_CAPACITY);
      ASSERT_TRUE(game.CurrentPosition().IsConsistent());
      maxHistory = std::max(maxHistory, game.CurrentPosition().historyCount);
      ++humanMoves;
      // Only what this game has written is kept.
      if (!game.Ui().gameOver) window.log.clear();
    }
    ASSERT_EQ(window.boxes.size(), 1u);
    const std::string text = window.boxes[0].text;
    const std::string question = TEXT_PLAY_AGAIN_QUESTION;
    ASSERT_GT(text.size(), question.size());
    ASSERT_EQ(text.substr(text.size() - question.size()), question);
    const std::string ending = text.substr(0, text.size() - question.size());
    EXPECT_NE(std::find(std::begin(GAME_OVER_TEXTS), std::end(GAME_OVER_TEXTS), ending), std::end(GAME_OVER_TEXTS))
        << "unknown ending";
    ++endings[ending];
    EXPECT_EQ(window.misplacedDrawCalls, 0);
    // The record rebuilds the final position, and the last move's judgement
    // is the ending the game announced.
    Position replayed;
    EXPECT_EQ(Replay(game.Record(), replayed), game.Record().ending);
    EXPECT_NE(game.Record().ending, Ending::NONE);
    ExpectSamePosition(replayed, game.CurrentPosition());
  }

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  int total = 0;
  for (const auto& [text, count] : endings) total += count;
  EXPECT_EQ(total, GAMES);
  // The figures go to the test log, for whoever wants to compare runs.
  std::printf("self-play: %d games, %ld human moves, longest history %d, %.1f s\n", GAMES, humanMoves,
              maxHistory, seconds);
  const char* names[] = {"human mates", "human perpetual", "computer perpetual", "repetition draw",
                         "move limit", "computer mates"};
  for (size_t i = 0; i < std::size(GAME_OVER_TEXTS); ++i) {
    std::printf("  %-18s %d\n", names[i], endings[std::string(GAME_OVER_TEXTS[i])]);
  }
}

}  // namespace
}  // namespace lanterra::test
