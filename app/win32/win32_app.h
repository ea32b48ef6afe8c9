// The running program: its platform handles, the engine, the game flow
// controller and the window services that connect them.
#pragma once

#include <windows.h>

#include <memory>

#include "app/game_controller.h"
#include "app/window_services.h"
#include "engine/engine.h"

namespace lanterra::win32 {

// The handles the program keeps for its whole run. The drawing pair paintDc
// and scratchDc is valid only between BeginDrawing and EndDrawing.
struct Win32Handles {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HMENU menu = nullptr;  // the window's menu, for check marks and graying
  HBITMAP boardBitmap = nullptr;
  HBITMAP frameBitmap = nullptr;
  HBITMAP pieceBitmaps[23] = {};  // indexed by piece code; 8..14 and 16..22 filled
  HDC paintDc = nullptr;
  HDC scratchDc = nullptr;
};

struct Application;

// The window services the controller draws, sounds and asks through.
class Win32Window final : public WindowServices {
 public:
  explicit Win32Window(Application& app) : app_(app) {}
  ~Win32Window() override { EndDrawing(); }

  void BeginDrawing() override;
  void EndDrawing() override;
  void PaintBoard() override;
  void PaintSquare(Square sq, bool framed) override;
  void PlayEventSound(Sound sound) override;
  Answer AskAboutResult(const char* text, const char* caption, GameResult result) override;
  void EnableUndo(bool enabled) override;
  void SetBusyCursor(bool busy) override;

 private:
  Application& app_;
};

struct Application {
  Win32Handles handles;
  std::unique_ptr<Engine> engine;
  std::unique_ptr<Win32Window> window;
  std::unique_ptr<GameController> game;
};

// Board rendering.
void PaintBoard(HDC target, const Application& app);
void PaintSquare(const Application& app, Square sq, bool framed);
void DrawSprite(HDC target, HDC scratch, int x, int y, HBITMAP bitmap);
void TransparentBlit(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                     int sourceY, int sourceWidth, int sourceHeight, COLORREF keyColour);

// Menu commands, sounds and messages.
void OnMenuCommand(Application& app, int commandId);
void PlayEventSound(const Application& app, Sound sound);
int ShowMessageBox(const Application& app, const char* text, const char* caption, unsigned style,
                   int iconId);

}  // namespace lanterra::win32
