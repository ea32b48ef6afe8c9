// The game inside a Web Worker: the game, the engine and the book run here,
// and everything the window would do (painting a cell, a sound, a box, the
// menu's marks and gray Undo, the wait cursor) goes to the page as a
// message, in the order the game asks for it, and so does the saved game
// after every change, which the page keeps in the browser. The page sends
// the saved game it kept at start-up, clicks as canvas points, menu
// commands by id and the answer of a game-over box.
#include <emscripten.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "app/board_geometry.h"
#include "app/commands.h"
#include "app/event_resources.h"
#include "app/game_controller.h"
#include "app/menu_texts.h"
#include "engine/book.h"
#include "web/page_messages.h"

namespace lanterra::web {

namespace {

// Message box styles the page draws: a lone OK button, or Yes and No.
constexpr unsigned BOX_OK = 0x0, BOX_YESNO = 0x4;

class WorkerWindow final : public WindowServices {
 public:
  void Attach(const GameController& game) { game_ = &game; }

  // Each cell goes out as it is drawn, so the human's move shows while the
  // engine is still thinking about the reply.
  void BeginDrawing() override {}
  void EndDrawing() override {}

  void PaintBoard() override {
    int32_t cells[PAINT_ORDER.size() * 4];
    int n = 0;
    for (const Square sq : PAINT_ORDER) {
      const CellPoint cell = CellOf(sq, game_->Ui().flipped);
      cells[n++] = cell.x;
      cells[n++] = cell.y;
      cells[n++] = game_->CurrentPosition().squares[sq];
      cells[n++] = game_->Ui().IsFramed(sq) ? 1 : 0;
    }
    PostBoard(cells, n / 4);
  }

  void PaintSquare(Square sq, bool framed) override {
    const CellPoint cell = CellOf(sq, game_->Ui().flipped);
    PostSquare(cell.x, cell.y, game_->CurrentPosition().squares[sq], framed ? 1 : 0);
  }

  void PlayEventSound(Sound sound) override { PostSound(SoundResource(sound)); }
  void Beep() override { PostBeep(); }
  void EnableUndo(bool enabled) override { PostUndo(enabled ? 1 : 0); }
  void ShowMenuMarks(int level, bool soundOn) override { PostMenuState(level, soundOn ? 1 : 0); }
  void SetBusyCursor(bool busy) override { PostBusy(busy ? 1 : 0); }

  // The page's boxes cannot stop this thread: the question stays open, and
  // the player's answer comes back through lanterra_answer.
  Answer OnGameOver(const char* text, const char* caption, GameResult result) override {
    PostBox(text, caption, BOX_YESNO, std::to_string(ResultIcon(result)).c_str());
    return Answer::LATER;
  }

  // The system's symbols are pictures of the page's own, named after them.
  void ShowMessage(const char* text, const char* caption, BoxIcon icon) override {
    const std::string name = icon == BoxIcon::INFORMATION ? "information"
                             : icon == BoxIcon::WARNING   ? "warning"
                                                          : std::to_string(BoxIconResource(icon));
    PostBox(text, caption, BOX_OK, name.c_str());
  }

  // A browser opens a tab or writes the clipboard only inside the player's
  // click, so the page does both itself, from PostPageCommands.
  void OpenWebPage(const std::string&) override {}
  bool CopyText(const std::string&) override { return false; }

  void GameChanged() override { PostSave(game_->SavedText().c_str()); }

 private:
  const GameController* game_ = nullptr;
};

struct Program {
  explicit Program(uint32_t seed) : engine(EmbeddedBookData(), seed), game(window, engine) {
    window.Attach(game);
  }
  WorkerWindow window;
  Engine engine;
  GameController game;
};

Program* program = nullptr;

// What the page needs for the commands it carries out itself.
void PostPageCommands() {
  for (const MenuEntry& entry : MENU_COMMANDS) {
    if (entry.command.kind != CommandKind::WEB_PAGE) continue;
    PostLink(entry.id, WebAddress(entry.command.page).c_str());
  }
  PostText("recommendation", RecommendationText().c_str());
  PostText("copied", TEXT_RECOMMENDATION_COPIED);
  PostText("clipboardUnavailable", TEXT_CLIPBOARD_UNAVAILABLE);
  PostText("recommendCaption", CAPTION_RECOMMEND);
}

}  // namespace

extern "C" {

// Start-up in the window's order: engine, menu marks and the normal setup,
// the first paint, then the new-game sound. The game the page kept (length
// bytes at saved, none when length is 0) is resumed instead of the normal
// setup, generator included, and goes on where it was; one that does not
// load is reported and a new game starts.
EMSCRIPTEN_KEEPALIVE void lanterra_start(uint32_t seed, const char* saved, int length) {
  if (program) return;
  program = new Program(seed);
  PostPageCommands();
  std::string error;
  const bool resumed =
      saved && length > 0 && program->game.Resume(std::string_view(saved, size_t(length)), error);
  if (!resumed) {
    if (length > 0) PostNotResumed(error.c_str());
    program->game.Start();
  }
  program->window.PaintBoard();
  program->game.Greet();
  if (resumed) program->game.GoOn();
}

// A press on the canvas in board picture pixels, mapped as a window click.
EMSCRIPTEN_KEEPALIVE void lanterra_click(int x, int y) {
  if (!program || x < 0 || y < 0) return;
  const Square sq = ScreenSquareAt(unsigned(x), unsigned(y));
  if (sq != 0) program->game.OnBoardClick(sq);
}

// A menu command by its id; an id no item carries does nothing.
EMSCRIPTEN_KEEPALIVE void lanterra_command(int id) {
  const std::optional<Command> command = CommandForId(id);
  if (program && command) program->game.Run(*command);
}

// The game-over box's button: 6 Yes, 7 No, numbered as the window's are.
EMSCRIPTEN_KEEPALIVE void lanterra_answer(int answer) {
  if (program) program->game.AnswerGameOver(answer == 6);
}

}  // extern "C"

}  // namespace lanterra::web
