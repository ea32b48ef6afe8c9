// What the game flow controller needs of a window, in the controller's own
// terms: sounds, results and answers are enums, which each platform maps to
// its resources. The Win32 layer implements it with GDI, PlaySoundA and
// message boxes; tests implement it with a log.
#pragma once

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

enum class Answer { YES, NO };

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
  // Plays the event's sound when sound is on, without waiting.
  virtual void PlayEventSound(Sound sound) = 0;
  // A modal box with the result's icon, the text and Yes and No buttons;
  // returns the button pressed. Texts are GBK byte strings.
  virtual Answer AskAboutResult(const char* text, const char* caption, GameResult result) = 0;
  // Enables or grays the Undo menu item.
  virtual void EnableUndo(bool enabled) = 0;
  // The wait cursor while the engine thinks, the arrow afterwards.
  virtual void SetBusyCursor(bool busy) = 0;
};

}  // namespace lanterra
