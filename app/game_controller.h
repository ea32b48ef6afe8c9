// The course of a game: clicks become moves, the engine answers, the end of
// the game is judged and announced, one step can be taken back, and a new
// game starts with the sides swapped. Portable: it reaches the window only
// through WindowServices.
#pragma once

#include <cstdint>

#include "app/window_services.h"
#include "engine/search_context.h"
#include "rules/position.h"

namespace lanterra {

struct UiState {
  int32_t selectedSquare = 0;  // board square of the picked-up piece, 0 none
  int32_t lastMove = 0;        // the move still framed on the board, 0 none
  int32_t flipped = 0;         // 1: the human plays black, board turned
  int32_t gameOver = 0;
  int32_t playAgain = 0;       // Yes in a game-over box during this click
  int32_t soundOn = 1;
  int32_t level = 0;           // 0..6, read by the engine at every decision
};

class GameController {
 public:
  GameController(WindowServices& window, SearchContext& engine);

  UiState ui;
  Position currentPosition;
  Position undoSnapshot;

  // A click on the square shown on screen (not yet un-flipped).
  void OnBoardClick(Square screenSquare);
  void ComputerReply();
  // Starts a game from undoSnapshot, which the caller has laid out.
  void NewGame();
  void RestoreSnapshot();
  int ShowGameOver(const char* text, int resultId);

  // Menu operations: a new game from setup 0..3 with the human on either
  // side, the level, undo and the sound switch.
  void StartGame(int setup, bool humanPlaysBlack);
  void SetLevel(int level);
  void Undo();
  void ToggleSound();

  WindowServices& window;
  SearchContext& engine;
};

}  // namespace lanterra
