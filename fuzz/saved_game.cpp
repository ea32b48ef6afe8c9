// The input as the page's saved game, resumed as the page resumes it. A
// record that does not load changes nothing: the game in progress (a fresh
// one here) stays as it was. One that loads gives a consistent position
// that the record's moves reach legally from its start, with the undo
// snapshot on the way, and saved again it reads back to the same text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/game_controller.h"
#include "app/saved_game.h"
#include "fuzz/fuzz_support.h"

using namespace lanterra;

namespace {

// A front end that shows nothing: resuming draws nothing and asks nothing
// (GoOn, which would make the computer think, is not called).
class NoWindow : public WindowServices {
 public:
  void BeginDrawing() override {}
  void EndDrawing() override {}
  void PaintBoard() override {}
  void PaintSquare(Square, bool) override {}
  void PlayEventSound(Sound) override {}
  void Beep() override {}
  Answer OnGameOver(const char*, const char*, GameResult) override { return Answer::LATER; }
  void ShowMessage(const char*, const char*, BoxIcon) override {}
  void EnableUndo(bool) override {}
  void ShowMenuMarks(int, bool) override {}
  void SetBusyCursor(bool) override {}
  void OpenWebPage(const std::string&) override {}
  bool CopyText(const std::string&) override { return true; }
  void GameChanged() override {}
};

bool SameBoard(const Position& a, const Position& b) {
  return a.side == b.side && a.zobrist.key == b.zobrist.key && a.zobrist.lockA == b.zobrist.lockA &&
         a.zobrist.lockB == b.zobrist.lockB;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The engine is made once: resuming only sets its generator, and its
  // tables are large.
  static Engine engine({}, 1);
  NoWindow window;
  GameController game(window, engine);
  game.Start();
  const std::string fresh = game.SavedText();
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  std::string error;
  if (!game.Resume(text, error)) {
    fuzz::Check(!error.empty(), "a refused record says why");
    fuzz::Check(game.SavedText() == fresh, "a refused record leaves the game as it was");
    return 0;
  }

  const GameRecord& record = game.Record();
  Position pos = record.start;
  fuzz::Check(record.undoMoves <= record.moves.size(), "the undo snapshot is within the game");
  for (size_t i = 0; i <= record.moves.size(); ++i) {
    if (i == record.undoMoves) fuzz::Check(SameBoard(pos, game.UndoSnapshot()), "the undo snapshot lies on the way");
    if (i == record.moves.size()) break;
    fuzz::Check(fuzz::IsLegal(pos, record.moves[i]), "the record's moves are legal");
    PlayLongGameMove(pos, record.moves[i]);
  }
  const Position& current = game.CurrentPosition();
  fuzz::Check(current.IsConsistent(), "the resumed position is consistent");
  fuzz::Check(SameBoard(pos, current), "the moves lead to the resumed position");
  const UiState& ui = game.Ui();
  fuzz::Check(ui.lastMove == 0 || (!record.moves.empty() && ui.lastMove == record.moves.back()),
              "the framed move is the last one played");

  const std::string saved = game.SavedText();
  ResumedGame again;
  fuzz::Check(ReadSavedGame(saved, again, error), "the game saved again reads back");
  fuzz::Check(WriteSavedGame(again.saved, again.current) == saved, "and reads back to the same text");
  return 0;
}
