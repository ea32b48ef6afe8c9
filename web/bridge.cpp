// The game inside a Web Worker: the controller, the engine and the book run
// here, and everything the window would do (painting a cell, a sound, a box,
// the Undo item, the wait cursor) goes to the page as a message, in the order
// the controller asks for it. The page sends clicks as canvas points, menu
// commands by id and the answer of a game-over box.
#include <emscripten.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/game_controller.h"
#include "app/win32/board_geometry.h"
#include "app/win32/event_resources.h"
#include "app/win32/resource_ids.h"
#include "app/win32/texts.h"
#include "app/win32/web_links.h"
#include "engine/book.h"
#include "engine/engine.h"

// Messages to the page. Texts travel as their GBK bytes; the page decodes them.
EM_JS(void, PostBoard, (const int32_t* cells, int count), {
  const start = cells >> 2;
  postMessage({type: 'board', cells: Array.from(HEAP32.subarray(start, start + 4 * count))});
});
EM_JS(void, PostSquare, (int x, int y, int piece, int framed), {
  postMessage({type: 'square', x: x, y: y, piece: piece, framed: framed !== 0});
});
EM_JS(void, PostSound, (int id), { postMessage({type: 'sound', id: id}); });
EM_JS(void, PostBeep, (), { postMessage({type: 'sound', id: 'beep'}); });
EM_JS(void, PostBox, (const char* text, const char* caption, unsigned style, const char* icon), {
  const bytes = (p) => HEAPU8.slice(p, p + HEAPU8.subarray(p).indexOf(0));
  postMessage({type: 'box', text: bytes(text), caption: bytes(caption), style: style,
               icon: UTF8ToString(icon)});
});
EM_JS(void, PostUndo, (int enabled), { postMessage({type: 'undo', enabled: enabled !== 0}); });
EM_JS(void, PostBusy, (int busy), { postMessage({type: 'busy', busy: busy !== 0}); });
EM_JS(void, PostMenuState, (int level, int soundOn), {
  postMessage({type: 'menu', level: level, sound: soundOn !== 0});
});
EM_JS(void, PostLink, (int id, const char* address), {
  postMessage({type: 'link', id: id, address: UTF8ToString(address)});
});
EM_JS(void, PostText, (const char* name, const char* text), {
  const end = HEAPU8.subarray(text).indexOf(0);
  postMessage({type: 'text', name: UTF8ToString(name), bytes: HEAPU8.slice(text, text + end)});
});

namespace lanterra::web {

namespace {

// The system's information symbol of MessageBoxA, for which the page has a
// picture of its own rather than an icon resource.
constexpr char ICON_INFORMATION[] = "information";

// Message box styles the page draws: a lone OK button, or Yes and No.
constexpr unsigned BOX_OK = 0x0;
constexpr unsigned BOX_YESNO = 0x4;

class WorkerWindow final : public WindowServices {
 public:
  void Attach(GameController& game) { game_ = &game; }

  // Each cell goes out as it is drawn, so the human's move shows while the
  // engine is still thinking about the reply.
  void BeginDrawing() override {}
  void EndDrawing() override {}

  void PaintBoard() override {
    const bool flipped = game_->Ui().flipped;
    int32_t cells[90 * 4];
    int n = 0;
    for (int file = win32::FIRST_FILE; file <= win32::LAST_FILE; ++file) {
      for (int rank = win32::FIRST_RANK; rank <= win32::LAST_RANK; ++rank) {
        const Square sq = SquareAt(rank, file);
        const win32::CellPoint cell = win32::CellOrigin(win32::DisplayedSquare(sq, flipped));
        cells[n++] = cell.x;
        cells[n++] = cell.y;
        cells[n++] = game_->CurrentPosition().squares[sq];
        cells[n++] = IsFramed(sq) ? 1 : 0;
      }
    }
    PostBoard(cells, n / 4);
  }

  void PaintSquare(Square sq, bool framed) override {
    const win32::CellPoint cell = win32::CellOrigin(win32::DisplayedSquare(sq, game_->Ui().flipped));
    PostSquare(cell.x, cell.y, game_->CurrentPosition().squares[sq], framed ? 1 : 0);
  }

  void PlayEventSound(Sound sound) override {
    if (game_->Ui().soundOn) PostSound(win32::SoundResource(sound));
  }

  // The page's boxes cannot stop this thread, so the box is answered No
  // here, which makes the controller do nothing more for this click; the
  // player's real answer arrives later through ReceiveAnswer.
  Answer AskAboutResult(const char* text, const char* caption, GameResult result) override {
    ShowBox(text, caption, BOX_YESNO, win32::ResultIcon(result));
    awaitingAnswer_ = true;
    return Answer::NO;
  }

  void EnableUndo(bool enabled) override { PostUndo(enabled ? 1 : 0); }
  void SetBusyCursor(bool busy) override { PostBusy(busy ? 1 : 0); }

  // A box with one of the program's icons.
  void ShowBox(const char* text, const char* caption, unsigned style, int iconId) {
    PostBox(text, caption, style, std::to_string(iconId).c_str());
  }

  // The player's answer to the open game-over box. Yes does what the
  // controller does after a click whose box was answered Yes: a new game
  // from the normal start with the sides swapped.
  void ReceiveAnswer(bool yes) {
    if (!awaitingAnswer_) return;
    awaitingAnswer_ = false;
    if (yes) game_->StartGame(0, !game_->Ui().flipped);
  }

 private:
  bool IsFramed(Square sq) const {
    const UiState& ui = game_->Ui();
    return sq == ui.selectedSquare || sq == MoveFrom(ui.lastMove) || sq == MoveTo(ui.lastMove);
  }

  GameController* game_ = nullptr;
  bool awaitingAnswer_ = false;
};

struct Program {
  std::unique_ptr<Engine> engine;
  WorkerWindow window;
  std::unique_ptr<GameController> game;
};

Program* program = nullptr;

void PostMenu() { PostMenuState(program->game->Ui().level, program->game->Ui().soundOn ? 1 : 0); }

// What the page needs for the commands it carries out itself: a browser
// opens a tab or writes the clipboard only while it handles the click.
void PostPageCommands() {
  for (int id : {IDC_SHARE_QZONE, IDC_SHARE_WEIBO, IDC_SHARE_KAIXIN, IDC_SHARE_RENREN,
                 IDC_LATEST_VERSION, IDC_MAKER_HOME, IDC_SIBLING_PRODUCT, IDC_FEEDBACK}) {
    PostLink(id, win32::WebAddress(id).c_str());
  }
  PostText("recommendation", win32::RecommendationText().c_str());
  PostText("copied", win32::TEXT_RECOMMENDATION_COPIED);
  PostText("clipboardUnavailable", win32::TEXT_CLIPBOARD_UNAVAILABLE);
  PostText("recommendCaption", win32::CAPTION_RECOMMEND);
}

}  // namespace

}  // namespace lanterra::web

using lanterra::web::program;

extern "C" {

// Start-up in the program's order: the engine with the book and the seed,
// the controller with sound on at the lowest level, the menu's marks, the
// normal setup with the human on red, a first paint, then the new-game sound.
EMSCRIPTEN_KEEPALIVE void lanterra_start(uint32_t seed) {
  using namespace lanterra;
  if (program) return;
  program = new web::Program;
  program->engine = std::make_unique<Engine>(EmbeddedBookData(), seed);
  program->game = std::make_unique<GameController>(program->window, *program->engine);
  program->window.Attach(*program->game);
  web::PostPageCommands();
  web::PostMenu();
  Position start;
  start.SetUpStart(0);
  program->game->Begin(start, false);
  program->window.PaintBoard();
  program->window.PlayEventSound(Sound::NEW_GAME);
}

// A press on the canvas at (x, y) in board picture pixels, mapped to a
// square exactly as a click in the window's client area.
EMSCRIPTEN_KEEPALIVE void lanterra_click(int x, int y) {
  if (!program || x < 0 || y < 0) return;
  const lanterra::Square sq = lanterra::win32::ScreenSquareAt(unsigned(x), unsigned(y));
  if (sq != 0) program->game->OnBoardClick(sq);
}

// The menu commands that concern the game; the page carries out the web
// pages and the clipboard itself.
EMSCRIPTEN_KEEPALIVE void lanterra_command(int id) {
  using namespace lanterra;
  using namespace lanterra::win32;
  if (!program) return;
  GameController& game = *program->game;
  if (id >= IDC_NEW_RED && id <= IDC_NEW_RED_LAST) {
    game.StartGame(id - IDC_NEW_RED, false);
  } else if (id >= IDC_NEW_BLACK && id <= IDC_NEW_BLACK_LAST) {
    game.StartGame(id - IDC_NEW_BLACK, true);
  } else if (id >= IDC_LEVEL_FIRST && id <= IDC_LEVEL_LAST) {
    game.SetLevel(id - IDC_LEVEL_FIRST);
    web::PostMenu();
    if (id == IDC_LEVEL_LAST) PostBox(TEXT_LEVEL6_WARNING, "Lanterra", web::BOX_OK, web::ICON_INFORMATION);
  } else if (id == IDC_UNDO) {
    game.Undo();
  } else if (id == IDC_SOUND) {
    game.ToggleSound();
    web::PostMenu();
  } else if (id == IDC_QUOTE) {
    if (game.Ui().soundOn) PostBeep();
    // Consecutive quotes may repeat: each is an independent draw from the
    // generator the engine draws from too.
    const int index = program->engine->NextRandom() % int(std::size(QUOTES));
    program->window.ShowBox(QUOTES[index], CAPTION_QUOTE, web::BOX_OK, IDI_QUOTE);
  } else if (id == IDC_ABOUT) {
    if (game.Ui().soundOn) PostBeep();
    program->window.ShowBox(TEXT_ABOUT, CAPTION_ABOUT, web::BOX_OK, IDI_PROGRAM);
  }
}

// The button pressed in a game-over box: 6 Yes, 7 No, as the page's buttons
// are numbered after the window's.
EMSCRIPTEN_KEEPALIVE void lanterra_answer(int answer) {
  constexpr int ANSWER_YES = 6;
  if (program) program->window.ReceiveAnswer(answer == ANSWER_YES);
}

}  // extern "C"
