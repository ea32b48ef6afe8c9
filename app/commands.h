// The menu's commands as values, and the one table that names them by their
// menu command ids (resource_ids.h). The window's menu and the page's menu
// are both built from lanterra.rc, so the same id means the same command in
// both; GameController::Run carries a command out.
#pragma once

#include <optional>

#include "app/resource_ids.h"
#include "app/web_links.h"

namespace lanterra {

enum class CommandKind {
  NEW_GAME,             // setup and side
  LEVEL,                // level
  UNDO,
  SOUND,                // sound on or off
  QUOTE,
  ABOUT,
  WEB_PAGE,             // page
  COPY_RECOMMENDATION,
};

struct Command {
  CommandKind kind = CommandKind::UNDO;
  int setup = 0;                 // NEW_GAME: 0..3
  bool humanPlaysBlack = false;  // NEW_GAME
  int level = 0;                 // LEVEL: 0..6
  WebPage page = WebPage::SHARE_QZONE;
  friend constexpr bool operator==(const Command&, const Command&) = default;
};

constexpr Command NewGameCommand(int setup, bool humanPlaysBlack) {
  return {.kind = CommandKind::NEW_GAME, .setup = setup, .humanPlaysBlack = humanPlaysBlack};
}
constexpr Command LevelCommand(int level) { return {.kind = CommandKind::LEVEL, .level = level}; }
constexpr Command PageCommand(WebPage page) { return {.kind = CommandKind::WEB_PAGE, .page = page}; }
constexpr Command SimpleCommand(CommandKind kind) { return {.kind = kind}; }

struct MenuEntry {
  int id;
  Command command;
};

// Every menu item but Exit, which only a window has: a page cannot close
// itself. Handicaps always take pieces from red, whoever plays it.
inline constexpr MenuEntry MENU_COMMANDS[] = {
    {IDC_NEW_RED, NewGameCommand(0, false)},
    {IDC_NEW_RED_NO_KNIGHT, NewGameCommand(1, false)},
    {IDC_NEW_RED_NO_KNIGHTS, NewGameCommand(2, false)},
    {IDC_NEW_RED_NINE_PIECES, NewGameCommand(3, false)},
    {IDC_NEW_BLACK, NewGameCommand(0, true)},
    {IDC_NEW_BLACK_NO_KNIGHT, NewGameCommand(1, true)},
    {IDC_NEW_BLACK_NO_KNIGHTS, NewGameCommand(2, true)},
    {IDC_NEW_BLACK_NINE_PIECES, NewGameCommand(3, true)},
    {IDC_LEVEL_FIRST, LevelCommand(0)},
    {IDC_LEVEL_1, LevelCommand(1)},
    {IDC_LEVEL_2, LevelCommand(2)},
    {IDC_LEVEL_3, LevelCommand(3)},
    {IDC_LEVEL_4, LevelCommand(4)},
    {IDC_LEVEL_5, LevelCommand(5)},
    {IDC_LEVEL_LAST, LevelCommand(6)},
    {IDC_UNDO, SimpleCommand(CommandKind::UNDO)},
    {IDC_SOUND, SimpleCommand(CommandKind::SOUND)},
    {IDC_SHARE_QZONE, PageCommand(WebPage::SHARE_QZONE)},
    {IDC_SHARE_WEIBO, PageCommand(WebPage::SHARE_WEIBO)},
    {IDC_SHARE_KAIXIN, PageCommand(WebPage::SHARE_KAIXIN)},
    {IDC_SHARE_RENREN, PageCommand(WebPage::SHARE_RENREN)},
    {IDC_COPY_RECOMMENDATION, SimpleCommand(CommandKind::COPY_RECOMMENDATION)},
    {IDC_QUOTE, SimpleCommand(CommandKind::QUOTE)},
    {IDC_LATEST_VERSION, PageCommand(WebPage::LATEST_VERSION)},
    {IDC_MAKER_HOME, PageCommand(WebPage::MAKER_HOME)},
    {IDC_SIBLING_PRODUCT, PageCommand(WebPage::SIBLING_PRODUCT)},
    {IDC_FEEDBACK, PageCommand(WebPage::FEEDBACK)},
    {IDC_ABOUT, SimpleCommand(CommandKind::ABOUT)},
};

// The command of a menu id; none for Exit and for ids no item carries.
constexpr std::optional<Command> CommandForId(int id) {
  for (const MenuEntry& entry : MENU_COMMANDS) {
    if (entry.id == id) return entry.command;
  }
  return std::nullopt;
}

}  // namespace lanterra
