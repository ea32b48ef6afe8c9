// The game as both front ends play it: clicks become moves, the engine
// answers, the end of the game is judged and announced, one step can be
// taken back, a new game starts with the sides swapped, and the menu's
// commands are carried out. Portable: it reaches the window or the page
// only through WindowServices.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/commands.h"
#include "app/window_services.h"
#include "engine/engine.h"
#include "rules/game_end.h"
#include "rules/position.h"

namespace lanterra {

// What the window shows and the menu mirrors. The controller owns it; the
// front ends read it to paint.
struct UiState {
  Square selectedSquare = 0;  // board square of the picked-up piece, 0 none
  Move lastMove = 0;          // the move still framed on the board, 0 none
  bool flipped = false;       // the human plays black, board turned
  bool gameOver = false;
  bool playAgain = false;     // Yes in a game-over box during this click
  bool soundOn = true;
  int level = 0;              // 0..6, handed to the engine at every decision

  // A cell shows the frame on the picked-up piece and on both squares of
  // the last move, the empty from-square included.
  constexpr bool IsFramed(Square sq) const {
    return sq == selectedSquare || sq == MoveFrom(lastMove) || sq == MoveTo(lastMove);
  }
};

// The game so far as a record: the position it started from and every move
// played since, human and computer alike. Replaying the moves from the start
// with the game's judgement after each rebuilds the current position, and
// replaying the first undoMoves of them rebuilds the undo snapshot.
struct GameRecord {
  Position start;
  std::vector<Move> moves;
  size_t undoMoves = 0;
  // How the game ended, seen from the side that made the last move; NONE
  // while it goes on.
  Ending ending = Ending::NONE;
};

inline constexpr int SETUP_COUNT = 4;
inline constexpr int LEVEL_COUNT = 7;

class GameController {
 public:
  GameController(WindowServices& window, Engine& engine);

  // Start-up: the menu's marks for the lowest level with sound on, and the
  // normal setup with the human on red. Draws and sounds nothing: the front
  // end shows the board, then calls Greet.
  void Start();
  // The new-game sound that greets the player once the board is shown.
  void Greet();

  // Lays position out as the game in progress, with the human on black when
  // humanPlaysBlack: nothing selected or framed, the game not over, Undo
  // gray. Draws and sounds nothing.
  void Begin(const Position& position, bool humanPlaysBlack);

  // Resumes the game a saved text describes (app/saved_game.h) in place of
  // the one in progress: the board, the undo state, level, sound, the turned
  // board, the generator and a game already over. Draws and sounds nothing
  // but the menu's marks and the Undo item; the front end shows the board,
  // greets, then calls GoOn. A text that does not load changes nothing and
  // says why in error.
  bool Resume(std::string_view text, std::string& error);
  // What a resumed game was doing when it was saved: the open game-over
  // question is asked again, and a computer that was thinking decides again.
  void GoOn();
  // The game as a saved text, for a front end that keeps it.
  std::string SavedText() const;

  // A click on the square shown on screen (not yet un-flipped).
  void OnBoardClick(Square screenSquare);

  // A menu command. Returns false when it was refused (an argument out of
  // range, or Undo while there is nothing to take back); nothing changed then.
  bool Run(const Command& command);

  // The player's answer to a game-over question that the front end left
  // open (Answer::LATER). Yes starts a new game from the normal start with
  // the sides swapped. False, and nothing changes, when no question is open.
  bool AnswerGameOver(bool yes);

  // Menu operations, which Run calls too. Each refuses an argument out of
  // range (false) and then changes nothing.
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
  // The start, the moves so far and the ending, for a move list or a saved
  // game.
  const GameRecord& Record() const { return record; }
  bool GameOverQuestionOpen() const { return questionOpen; }

 private:
  void ComputerReply();
  // Starts a game from undoSnapshot.
  void NewGame();
  // Yes to the game-over question.
  void PlayAgain();
  void RestoreSnapshot();
  // Lays undoSnapshot out as the start of a game: an empty record, the
  // position restored.
  void RestartFromSnapshot();
  // Announces the ending with its sound and asks whether to play again.
  void ShowGameOver(Ending ending, bool fromHuman);
  void AskGameOver(Ending ending, bool fromHuman);
  // The tests that may end the game after a move; fromHuman says whose move
  // it was. Returns true when the game is over.
  bool JudgeAfterMove(bool fromHuman);
  void SetUndoEnabled(bool enabled);
  Side HumanSide() const { return ui.flipped ? SIDE_BLACK : SIDE_RED; }
  // Plays the sound when sound is on.
  void PlayEventSound(Sound sound);
  void ShowQuote();
  void ShowAbout();
  void CopyRecommendation();

  WindowServices& window;
  Engine& engine;
  UiState ui;
  Position currentPosition;
  Position undoSnapshot;
  GameRecord record;
  bool undoEnabled = false;
  // A game-over question the front end has not answered yet.
  bool questionOpen = false;
};

}  // namespace lanterra
