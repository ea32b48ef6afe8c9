// What the game flow controller needs of a window. The Win32 layer implements
// it with GDI, PlaySoundA and message boxes; tests implement it with a log.
#pragma once

#include "rules/types.h"

namespace lanterra {

// Message box styles, button answers and result ids, with the values the
// platform gives them, so the controller needs no platform header.
inline constexpr unsigned BOX_OK = 0x0;      // MB_OK
inline constexpr unsigned BOX_YESNO = 0x4;   // MB_YESNO
inline constexpr int ANSWER_YES = 6;         // IDYES
inline constexpr int ANSWER_NO = 7;          // IDNO
inline constexpr int RESULT_WIN = 108;
inline constexpr int RESULT_DRAW = 109;
inline constexpr int RESULT_LOSS = 110;

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
  // Plays the sound with that id when sound is on, without waiting.
  virtual void PlayEventSound(int id) = 0;
  // A modal box with the program's icon iconId; returns the button pressed.
  // Texts are GBK byte strings.
  virtual int ShowMessageBox(const char* text, const char* caption, unsigned style, int iconId) = 0;
  // Enables or grays the Undo menu item.
  virtual void EnableUndo(bool enabled) = 0;
  // The wait cursor while the engine thinks, the arrow afterwards.
  virtual void SetBusyCursor(bool busy) = 0;
};

}  // namespace lanterra
