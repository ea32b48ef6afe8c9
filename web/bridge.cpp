// The game inside a Web Worker: the game, the engine and the book run here,
// and what the game shows goes to the page as messages (WorkerWindow). The
// page sends the saved game it kept at start-up, clicks as canvas points,
// moves typed as text, menu commands by id and the answer of a game-over
// box.
#include <emscripten.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/board_geometry.h"
#include "app/commands.h"
#include "app/game_controller.h"
#include "app/typed_move.h"
#include "engine/book.h"
#include "web/worker_window.h"

namespace lanterra::web {

namespace {

struct Program {
  explicit Program(uint32_t seed) : engine(EmbeddedBookData(), seed), game(window, engine) {
    window.Attach(game);
  }
  WorkerWindow window;
  Engine engine;
  GameController game;
};

Program* program = nullptr;

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
  program->window.SendPageCommands();
  std::string error;
  const bool resumed =
      saved && length > 0 && program->game.Resume(std::string_view(saved, size_t(length)), error);
  if (!resumed) {
    if (length > 0) program->window.SendNotResumed(error);
    program->game.Start();
  }
  program->window.PaintBoard();
  program->window.SendRecord();
  program->game.Greet();
  if (resumed) program->game.GoOn();
}

// A press on the canvas in board picture pixels, mapped as a window click.
EMSCRIPTEN_KEEPALIVE void lanterra_click(int x, int y) {
  if (!program || x < 0 || y < 0) return;
  const Square sq = ScreenSquareAt(unsigned(x), unsigned(y));
  if (sq != 0) program->game.OnBoardClick(sq);
}

// A move typed by the player, length bytes of UTF-8 at text. The page hears
// back only what went wrong; a move played speaks for itself.
EMSCRIPTEN_KEEPALIVE void lanterra_move(const char* text, int length) {
  if (!program || !text || length < 0) return;
  const TypedMoveFault fault = PlayTypedMove(program->game, std::string_view(text, size_t(length)));
  if (fault != TypedMoveFault::NONE) program->window.SendTypedMoveFault(fault);
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
