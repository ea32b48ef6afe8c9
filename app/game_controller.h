// The course of a game: clicks become moves, the engine answers, the end of
// the game is judged and announced, one step can be taken back, and a new
// game starts with the sides swapped. Portable: it reaches the window only
// through WindowServices.
#pragma once

#include "app/window_services.h"
#include "engine/engine.h"
#include "rules/position.h"

namespace lanterra {

// What the window shows and the menu mirrors. The controller owns it; the
// window reads it to paint.
struct UiState {
  Square selectedSquare = 0;  // board square of the picked-up piece, 0 none
  Move lastMove = 0;          // the move still framed on the board, 0 none
  bool flipped = false;       // the human plays black, board turned
  bool gameOver = false;
  bool playAgain = false;     // Yes in a game-over box during this click
  bool soundOn = true;
  int level = 0;              // 0..6, handed to the engine at every decision
};

inline constexpr int SETUP_COUNT = 4;
inline constexpr int LEVEL_COUNT = 7;

class GameController {
 public:
  GameController(WindowServices& window, Engine& engine);

  // Lays position out as the game in progress, with the human on black when
  // humanPlaysBlack: nothing selected or framed, the game not over, Undo
  // gray. Draws and sounds nothing; start-up calls it once the window can
  // gray the Undo item.
  void Begin(const Position& position, bool humanPlaysBlack);

  // A click on the square shown on screen (not yet un-flipped).
  void OnBoardClick(Square screenSquare);

  // Menu operations. Each refuses an argument out of range (false) and then
  // changes nothing.
  // A new game from setup 0..3 with the human on either side; the computer
  // opens at once when the human plays black.
  bool StartGame(int setup, bool humanPlaysBlack);
  // The level 0..6 applies from the computer's next decision on.
  bool SetLevel(int level);
  // Takes back the human's last move and the reply; false while the Undo
  // item is gray.
  bool Undo();
  void ToggleSound();

  // A new game from any position, as StartGame gives one from a setup.
  void StartGame(const Position& position, bool humanPlaysBlack);

  // The state, read-only: for painting, the menu marks and the tests.
  const UiState& Ui() const { return ui; }
  const Position& CurrentPosition() const { return currentPosition; }
  // The position a new game starts from, and during play the position
  // before the human's last move that did not end the game.
  const Position& UndoSnapshot() const { return undoSnapshot; }
  // Mirrors the Undo menu item: true exactly when the snapshot holds the
  // position before a human move of the running game.
  bool UndoEnabled() const { return undoEnabled; }

 private:
  void ComputerReply();
  // Starts a game from undoSnapshot.
  void NewGame();
  void RestoreSnapshot();
  void ShowGameOver(const char* text, GameResult result);
  // The tests that may end the game after a move; fromHuman says whose move
  // it was. Returns true when a game-over box was shown.
  bool JudgeAfterMove(bool fromHuman);
  void SetUndoEnabled(bool enabled);

  WindowServices& window;
  Engine& engine;
  UiState ui;
  Position currentPosition;
  Position undoSnapshot;
  bool undoEnabled = false;
};

}  // namespace lanterra
