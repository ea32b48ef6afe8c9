// What the game needs of a front end, in the game's own terms: sounds,
// results, icons and answers are enums, which each front end maps to its
// resources. The window implements it with GDI, PlaySoundA and message
// boxes; the page's bridge with messages to the page; tests with a log.
// Whether a sound or a beep is heard is the game's decision: a front end
// plays what it is asked to.
#pragma once

#include <string>

#include "rules/types.h"

namespace lanterra {

// The events that have a sound. A move's sound tells whose move it was and
// whether it captured or gave check.
enum class Sound {
  SELECT,
  REFUSED,
  HUMAN_MOVE,
  COMPUTER_MOVE,
  HUMAN_CAPTURE,
  COMPUTER_CAPTURE,
  HUMAN_CHECK,
  COMPUTER_CHECK,
  WIN,
  DRAW,
  LOSS,
  NEW_GAME,
};

// How a finished game ended for the human.
enum class GameResult { WIN, DRAW, LOSS };

// The icon of a box with one OK button: the program's own icons, or the
// system's information and warning symbols.
enum class BoxIcon { PROGRAM, QUOTE, INFORMATION, WARNING };

// The answer to the game-over question. A front end whose boxes cannot stop
// the game until they are answered says LATER, and hands the answer over
// through GameController::AnswerGameOver when the player gives it.
enum class Answer { YES, NO, LATER };

class WindowServices {
 public:
  virtual ~WindowServices() = default;
  // Acquire the window's drawing surface and a memory surface compatible
  // with it; PaintBoard and PaintSquare draw only between these two calls.
  virtual void BeginDrawing() = 0;
  virtual void EndDrawing() = 0;
  // The whole board, pieces and frames.
  virtual void PaintBoard() = 0;
  // One square as shown on screen (the caller passes board squares; the
  // implementation applies the flip).
  virtual void PaintSquare(Square sq, bool framed) = 0;
  // Starts the event's sound without waiting for it.
  virtual void PlayEventSound(Sound sound) = 0;
  // The system's short beep that comes with the quote and About boxes.
  virtual void Beep() = 0;
  // A game is over: the text (with the question) and the caption, the
  // result's icon, and Yes and No buttons. Texts are GBK byte strings.
  virtual Answer OnGameOver(const char* text, const char* caption, GameResult result) = 0;
  // A box with one OK button; returns when it is closed, or at once where
  // boxes do not stop the game.
  virtual void ShowMessage(const char* text, const char* caption, BoxIcon icon) = 0;
  // Enables or grays the Undo menu item.
  virtual void EnableUndo(bool enabled) = 0;
  // The menu's marks: one on the level 0..6, one on Sound when it is on.
  virtual void ShowMenuMarks(int level, bool soundOn) = 0;
  // The wait cursor while the engine thinks, the arrow afterwards.
  virtual void SetBusyCursor(bool busy) = 0;
  // Opens a web address in the default browser; a failure goes unreported.
  virtual void OpenWebPage(const std::string& address) = 0;
  // Puts text on the clipboard; false when the clipboard cannot take it.
  virtual bool CopyText(const std::string& text) = 0;
  // The game has changed in a way a saved game would show: a move on the
  // board (the human's before the engine starts thinking, so that a game
  // cut short there resumes with the computer to move), undo, a new game,
  // the level, the sound, a quotation (it draws from the game's generator)
  // or the answer to the game-over question. A front end that keeps the
  // game saves GameController::Saved() here; the window keeps nothing.
  virtual void GameChanged() = 0;
};

}  // namespace lanterra
