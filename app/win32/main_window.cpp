// The process: start-up, the main window and its message loop. The window
// procedure only decodes messages and hands them on.
#include <cstdint>
#include <ctime>
#include <span>

#include "app/board_geometry.h"
#include "app/resource_ids.h"
#include "app/win32/win32_app.h"

namespace lanterra::win32 {

namespace {

constexpr char WINDOW_CLASS[] = "TORVIN";
constexpr char WINDOW_TITLE[] = "Lanterra";
// A caption, a system menu and a minimize box: no sizing border and no
// maximize box, since the board picture has one size only.
constexpr DWORD WINDOW_STYLE = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The window procedure has no parameter for the program; there is only one.
Application* theApp = nullptr;

HBITMAP LoadBitmapResource(HINSTANCE instance, int resourceId) {
  return static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0,
                                         LR_SHARED | LR_DEFAULTSIZE));
}

// The piece pictures are named one by one in lanterra.rc and found here by
// piece code.
static_assert(IDB_RED_KING == IDB_PIECE_BASE + SideBit(SIDE_RED) + KING &&
              IDB_RED_PAWN == IDB_PIECE_BASE + SideBit(SIDE_RED) + PAWN);
static_assert(IDB_BLACK_KING == IDB_PIECE_BASE + SideBit(SIDE_BLACK) + KING &&
              IDB_BLACK_PAWN == IDB_PIECE_BASE + SideBit(SIDE_BLACK) + PAWN);

void LoadPictures(Win32Handles& h) {
  h.boardBitmap = LoadBitmapResource(h.instance, IDB_BOARD);
  h.frameBitmap = LoadBitmapResource(h.instance, IDB_FRAME);
  for (int kind = 0; kind < 7; ++kind) {
    h.pieceBitmaps[SideBit(SIDE_RED) + kind] = LoadBitmapResource(h.instance, IDB_PIECE_BASE + SideBit(SIDE_RED) + kind);
    h.pieceBitmaps[SideBit(SIDE_BLACK) + kind] =
        LoadBitmapResource(h.instance, IDB_PIECE_BASE + SideBit(SIDE_BLACK) + kind);
  }
}

// The opening book as the bytes of its resource; an empty span when the
// program was built without one.
std::span<const uint8_t> BookResource(HINSTANCE instance) {
  HRSRC resource = FindResourceA(instance, "BOOK_DATA", MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!resource) return {};
  HGLOBAL loaded = LoadResource(instance, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return {static_cast<const uint8_t*>(bytes), size_t(SizeofResource(instance, resource))};
}

HANDLE LoadSharedImage(HINSTANCE instance, LPCSTR name, UINT type, int size, UINT flags = 0) {
  return LoadImageA(instance, name, type, size, size, LR_SHARED | flags);
}

void OnCreate(HWND window) {
  // The window was created at the system's default size; make its client
  // area exactly the board picture, menu bar included in the frame.
  RECT rect;
  GetWindowRect(window, &rect);
  const int left = rect.left;
  const int top = rect.top;
  rect.right = rect.left + CLIENT_WIDTH;
  rect.bottom = rect.top + CLIENT_HEIGHT;
  AdjustWindowRect(&rect, WINDOW_STYLE, TRUE);
  MoveWindow(window, left, top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void OnPaint(HWND window) {
  // Always the whole board: painting one cell is cheap next to working out
  // which pieces and frames an invalid rectangle touches.
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  PaintBoard(dc, *theApp);
  EndPaint(window, &paint);
}

void OnLeftButtonDown(LPARAM lParam) {
  const Square sq = ScreenSquareAt(LOWORD(lParam), HIWORD(lParam));
  if (sq != 0) theApp->game->OnBoardClick(sq);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_COMMAND:
      OnMenuCommand(*theApp, LOWORD(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(lParam);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND CreateMainWindow(HINSTANCE instance) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = HICON(LoadSharedImage(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 32));
  windowClass.hIconSm = HICON(LoadSharedImage(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 16));
  windowClass.hCursor = HCURSOR(LoadSharedImage(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, LR_DEFAULTSIZE));
  windowClass.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
  windowClass.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
  windowClass.lpszClassName = WINDOW_CLASS;
  RegisterClassExA(&windowClass);
  return CreateWindowExA(0, WINDOW_CLASS, WINDOW_TITLE, WINDOW_STYLE, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return int(message.wParam);
}

}  // namespace

// Start-up, in a fixed order: the engine first, then the pictures, then the
// window, then the game.
int RunProgram(HINSTANCE instance, int showCommand) {
  static Application app;
  theApp = &app;
  Win32Handles& h = app.handles;

  // 1. Module: every resource is loaded from it.
  h.instance = instance;
  // 2. Engine: made with the opening book and its generator seeded with the
  //    time; that one generator serves the book, the root search's noise and
  //    the quotes. The Zobrist keys are built at compile time, so there is
  //    nothing to generate.
  app.engine = std::make_unique<Engine>(BookResource(instance), uint32_t(std::time(nullptr)));
  // 3. Controller: it starts with sound on at the lowest level.
  app.window = std::make_unique<Win32Window>(app);
  app.game = std::make_unique<GameController>(*app.window, *app.engine);
  // 4. Pictures: shared and kept for the whole run.
  LoadPictures(h);
  // 5. Window and menu.
  h.mainWindow = CreateMainWindow(instance);
  if (!h.mainWindow) return 0;
  h.menu = GetMenu(h.mainWindow);
  // 6. Game: the menu's marks (the menu resource carries none) and the
  //    normal setup, human on red.
  app.game->Start();
  // 7. Show and paint, then greet with the new-game sound and run.
  ShowWindow(h.mainWindow, showCommand);
  UpdateWindow(h.mainWindow);
  app.game->Greet();
  return RunMessageLoop();
}

}  // namespace lanterra::win32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  return lanterra::win32::RunProgram(instance, showCommand);
}
