// The course of a game: clicks become moves, the engine answers, the end of
// the game is judged and announced, one step can be taken back, and a new
// game starts with the sides swapped. Portable: it reaches the window only
// through WindowServices.
#pragma once

#include <cstdint>

#include "app/window_services.h"
#include "engine/engine.h"
#include "rules/position.h"

namespace lanterra {

struct UiState {
  int32_t selectedSquare = 0;  // board square of the picked-up piece, 0 none
  int32_t lastMove = 0;        // the move still framed on the board, 0 none
  int32_t flipped = 0;         // 1: the human plays black, board turned
  int32_t gameOver = 0;
  int32_t playAgain = 0;       // Yes in a game-over box during this click
  int32_t soundOn = 1;
  int32_t level = 0;           // 0..6, handed to the engine at every decision
};

inline constexpr int SETUP_COUNT = 4;
inline constexpr int LEVEL_COUNT = 7;

class GameController {
 public:
  GameController(WindowServices& window, Engine& engine);

  UiState ui;
  Position currentPosition;
  Position undoSnapshot;
  // Mirrors the Undo menu item: true exactly when undoSnapshot holds the
  // position before a human move of the running game.
  bool undoEnabled = false;

  // A click on the square shown on screen (not yet un-flipped).
  void OnBoardClick(Square screenSquare);
  void ComputerReply();
  // Starts a game from undoSnapshot, which the caller has laid out.
  void NewGame();
  void RestoreSnapshot();
  int ShowGameOver(const char* text, int resultId);

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

  WindowServices& window;
  Engine& engine;

 private:
  // The tests that may end the game after a move; fromHuman says whose move
  // it was. Returns true when a game-over box was shown.
  bool JudgeAfterMove(bool fromHuman);
  void SetUndoEnabled(bool enabled);
};

}  // namespace lanterra
