// Everything the menu reaches, and the sounds and message boxes through
// which the game talks to the player.
#include <windows.h>
// After windows.h, which they build on.
#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "app/win32/event_resources.h"
#include "app/win32/gdi_owners.h"
#include "app/win32/resource_ids.h"
#include "app/win32/texts.h"
#include "app/win32/web_links.h"
#include "app/win32/win32_app.h"

namespace lanterra::win32 {

namespace {

void SetCheckMark(HMENU menu, int commandId, bool checked) {
  CheckMenuItem(menu, UINT(commandId), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void ChooseLevel(Application& app, int commandId) {
  app.game->SetLevel(commandId - IDC_LEVEL_FIRST);
  for (int id = IDC_LEVEL_FIRST; id <= IDC_LEVEL_LAST; ++id) {
    SetCheckMark(app.handles.menu, id, id == commandId);
  }
  if (commandId == IDC_LEVEL_LAST) {
    MessageBoxA(app.handles.mainWindow, TEXT_LEVEL6_WARNING, "Lanterra", MB_ICONINFORMATION);
  }
}

void OpenWebPage(const Application& app, int commandId) {
  const std::string address = WebAddress(commandId);
  ShellExecuteA(app.handles.mainWindow, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ShowClipboardWarning(const Application& app) {
  MessageBoxA(app.handles.mainWindow, TEXT_CLIPBOARD_UNAVAILABLE, CAPTION_RECOMMEND, MB_ICONWARNING);
}

void CopyRecommendation(const Application& app) {
  if (!OpenClipboard(app.handles.mainWindow)) {
    ShowClipboardWarning(app);
    return;
  }
  EmptyClipboard();
  const std::string text = RecommendationText();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  void* bytes = block ? GlobalLock(block) : nullptr;
  if (!bytes) {
    // Without memory there is nothing to put on the clipboard. Give it back
    // and tell the player the same as when the clipboard is busy.
    if (block) GlobalFree(block);
    CloseClipboard();
    ShowClipboardWarning(app);
    return;
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  // The clipboard owns the block only once it has accepted it.
  if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
  CloseClipboard();
  MessageBoxA(app.handles.mainWindow, TEXT_RECOMMENDATION_COPIED, CAPTION_RECOMMEND, MB_ICONINFORMATION);
}

void ShowQuote(Application& app) {
  if (app.game->Ui().soundOn) MessageBeep(MB_ICONASTERISK);
  // Consecutive quotes may repeat: each is an independent draw.
  const int index = app.engine->NextRandom() % int(std::size(QUOTES));
  ShowMessageBox(app, QUOTES[index], CAPTION_QUOTE, MB_OK, IDI_QUOTE);
}

void ShowAbout(const Application& app) {
  if (app.game->Ui().soundOn) MessageBeep(MB_ICONASTERISK);
  ShowMessageBox(app, TEXT_ABOUT, CAPTION_ABOUT, MB_OK, IDI_PROGRAM);
}

}  // namespace

void OnMenuCommand(Application& app, int commandId) {
  GameController& game = *app.game;
  const auto in = [commandId](int first, int last) { return commandId >= first && commandId <= last; };
  if (in(IDC_NEW_RED, IDC_NEW_RED_LAST)) {
    // The game in progress is dropped without a question.
    game.StartGame(commandId - IDC_NEW_RED, false);
  } else if (in(IDC_NEW_BLACK, IDC_NEW_BLACK_LAST)) {
    game.StartGame(commandId - IDC_NEW_BLACK, true);
  } else if (in(IDC_LEVEL_FIRST, IDC_LEVEL_LAST)) {
    ChooseLevel(app, commandId);
  } else if (commandId == IDC_UNDO) {
    game.Undo();
  } else if (commandId == IDC_SOUND) {
    game.ToggleSound();
    SetCheckMark(app.handles.menu, IDC_SOUND, game.Ui().soundOn);
  } else if (commandId == IDC_EXIT) {
    DestroyWindow(app.handles.mainWindow);
  } else if (in(IDC_SHARE_QZONE, IDC_SHARE_RENREN) || in(IDC_LATEST_VERSION, IDC_FEEDBACK)) {
    OpenWebPage(app, commandId);
  } else if (commandId == IDC_COPY_RECOMMENDATION) {
    CopyRecommendation(app);
  } else if (commandId == IDC_QUOTE) {
    ShowQuote(app);
  } else if (commandId == IDC_ABOUT) {
    ShowAbout(app);
  }
  // Any other id is swallowed.
}

void PlayEventSound(const Application& app, Sound sound) {
  if (!app.game->Ui().soundOn) return;
  // Asynchronous, never waiting for a busy device; a new sound cuts the one
  // still playing.
  PlaySoundA(MAKEINTRESOURCEA(SoundResource(sound)), app.handles.instance, SND_RESOURCE | SND_ASYNC | SND_NOWAIT);
}

int ShowMessageBox(const Application& app, const char* text, const char* caption, unsigned style,
                   int iconId) {
  MSGBOXPARAMSA params = {};
  params.cbSize = sizeof(params);
  params.hwndOwner = app.handles.mainWindow;
  params.hInstance = app.handles.instance;
  params.lpszText = text;
  params.lpszCaption = caption;
  params.dwStyle = style | MB_USERICON;
  params.lpszIcon = MAKEINTRESOURCEA(iconId);
  return MessageBoxIndirectA(&params);
}

}  // namespace lanterra::win32
