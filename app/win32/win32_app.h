// The running program: its platform handles, the engine, the game and the
// window services that connect them.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "app/game_controller.h"
#include "app/window_services.h"
#include "app/win32/gdi_owners.h"
#include "engine/engine.h"

namespace lanterra::win32 {

// The handles the program keeps for its whole run.
struct Win32Handles {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HMENU menu = nullptr;  // the window's menu, for check marks and graying
  HBITMAP boardBitmap = nullptr;
  HBITMAP frameBitmap = nullptr;
  HBITMAP pieceBitmaps[23] = {};  // indexed by piece code; 8..14 and 16..22 filled
};

struct Application;

// The window services the game draws, sounds and asks through.
class Win32Window final : public WindowServices {
 public:
  explicit Win32Window(Application& app) : app_(app) {}

  void BeginDrawing() override;
  void EndDrawing() override;
  void PaintBoard() override;
  void PaintSquare(Square sq, bool framed) override;
  void PlayEventSound(Sound sound) override;
  void Beep() override;
  Answer OnGameOver(const char* text, const char* caption, GameResult result) override;
  void ShowMessage(const char* text, const char* caption, BoxIcon icon) override;
  void EnableUndo(bool enabled) override;
  void ShowMenuMarks(int level, bool soundOn) override;
  void SetBusyCursor(bool busy) override;
  void OpenWebPage(const std::string& address) override;
  bool CopyText(const std::string& text) override;
  // The program keeps nothing between runs.
  void GameChanged() override {}

 private:
  Application& app_;
  // Held from BeginDrawing to EndDrawing, for one click or one new game.
  std::optional<DrawingSurfaces> surfaces_;
};

struct Application {
  Win32Handles handles;
  std::unique_ptr<Engine> engine;
  std::unique_ptr<Win32Window> window;
  std::unique_ptr<GameController> game;
};

// Board rendering.
void PaintBoard(HDC target, const Application& app);
void PaintSquare(const DrawingSurfaces& surfaces, const Application& app, Square sq, bool framed);
void DrawSprite(HDC target, HDC scratch, int x, int y, HBITMAP bitmap);
void TransparentBlit(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                     int sourceY, int sourceWidth, int sourceHeight, COLORREF keyColour);

// The menu: Exit closes the window, every other item is the game's command.
void OnMenuCommand(Application& app, int commandId);

}  // namespace lanterra::win32
