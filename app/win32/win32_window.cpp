// The window services: the game's drawing, sounds, boxes, menu marks,
// cursor, web pages and clipboard as Windows calls.
#include <windows.h>
// After windows.h, which they build on.
#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>

#include "app/event_resources.h"
#include "app/resource_ids.h"
#include "app/win32/win32_app.h"

namespace lanterra::win32 {

namespace {

// A modal box owned by the window with one of the program's icons.
int ShowIconBox(const Win32Handles& h, const char* text, const char* caption, UINT style, int iconId) {
  MSGBOXPARAMSA params = {};
  params.cbSize = sizeof(params);
  params.hwndOwner = h.mainWindow;
  params.hInstance = h.instance;
  params.lpszText = text;
  params.lpszCaption = caption;
  params.dwStyle = style | MB_USERICON;
  params.lpszIcon = MAKEINTRESOURCEA(iconId);
  return MessageBoxIndirectA(&params);
}

void SetCheckMark(HMENU menu, int commandId, bool checked) {
  CheckMenuItem(menu, UINT(commandId), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace

void Win32Window::BeginDrawing() { surfaces_.emplace(app_.handles.mainWindow); }

void Win32Window::EndDrawing() { surfaces_.reset(); }

void Win32Window::PaintBoard() { win32::PaintBoard(surfaces_->paint, app_); }

void Win32Window::PaintSquare(Square sq, bool framed) { win32::PaintSquare(*surfaces_, app_, sq, framed); }

void Win32Window::PlayEventSound(Sound sound) {
  // Asynchronous, never waiting for a busy device; a new sound cuts the one
  // still playing.
  PlaySoundA(MAKEINTRESOURCEA(SoundResource(sound)), app_.handles.instance,
             SND_RESOURCE | SND_ASYNC | SND_NOWAIT);
}

void Win32Window::Beep() { MessageBeep(MB_ICONASTERISK); }

Answer Win32Window::OnGameOver(const char* text, const char* caption, GameResult result) {
  const int button = ShowIconBox(app_.handles, text, caption, MB_YESNO, ResultIcon(result));
  return button == IDYES ? Answer::YES : Answer::NO;
}

void Win32Window::ShowMessage(const char* text, const char* caption, BoxIcon icon) {
  const HWND owner = app_.handles.mainWindow;
  switch (icon) {
    case BoxIcon::INFORMATION:
      MessageBoxA(owner, text, caption, MB_ICONINFORMATION);
      break;
    case BoxIcon::WARNING:
      MessageBoxA(owner, text, caption, MB_ICONWARNING);
      break;
    default:
      ShowIconBox(app_.handles, text, caption, MB_OK, BoxIconResource(icon));
      break;
  }
}

void Win32Window::EnableUndo(bool enabled) {
  EnableMenuItem(app_.handles.menu, IDC_UNDO, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32Window::ShowMenuMarks(int level, bool soundOn) {
  for (int id = IDC_LEVEL_FIRST; id <= IDC_LEVEL_LAST; ++id) {
    SetCheckMark(app_.handles.menu, id, id - IDC_LEVEL_FIRST == level);
  }
  SetCheckMark(app_.handles.menu, IDC_SOUND, soundOn);
}

void Win32Window::SetBusyCursor(bool busy) {
  const LPCSTR cursor = busy ? IDC_WAIT : IDC_ARROW;
  SetCursor(HCURSOR(LoadImageA(nullptr, cursor, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE)));
}

void Win32Window::OpenWebPage(const std::string& address) {
  ShellExecuteA(app_.handles.mainWindow, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool Win32Window::CopyText(const std::string& text) {
  if (!OpenClipboard(app_.handles.mainWindow)) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  void* bytes = block ? GlobalLock(block) : nullptr;
  bool copied = false;
  if (bytes) {
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    // The clipboard owns the block only once it has accepted it.
    copied = SetClipboardData(CF_TEXT, block) != nullptr;
  }
  if (block && !copied) GlobalFree(block);
  CloseClipboard();
  return copied;
}

}  // namespace lanterra::win32
