// The window as the page's worker plays it: everything the game asks of a
// window (painting a cell, a sound, a box, the menu's marks and gray Undo,
// the wait cursor) goes to the page as a message, in the order the game
// asks for it, and so do the saved game and the move record after every
// change.
#pragma once

#include <string>

#include "app/game_controller.h"
#include "app/typed_move.h"

namespace lanterra::web {

class WorkerWindow final : public WindowServices {
 public:
  void Attach(const GameController& game) { game_ = &game; }

  // Each cell goes out as it is drawn, so the human's move shows while the
  // engine is still thinking about the reply.
  void BeginDrawing() override {}
  void EndDrawing() override {}
  void PaintBoard() override;
  void PaintSquare(Square sq, bool framed) override;

  void PlayEventSound(Sound sound) override;
  void Beep() override;
  void EnableUndo(bool enabled) override;
  void ShowMenuMarks(int level, bool soundOn) override;
  void SetBusyCursor(bool busy) override;
  // The page's boxes cannot stop this thread: the question stays open, and
  // the player's answer comes back through GameController::AnswerGameOver.
  Answer OnGameOver(const char* text, const char* caption, GameResult result) override;
  void ShowMessage(const char* text, const char* caption, BoxIcon icon) override;
  // A browser opens a tab or writes the clipboard only inside the player's
  // click, so the page does both itself, from SendPageCommands.
  void OpenWebPage(const std::string&) override {}
  bool CopyText(const std::string&) override { return false; }
  void GameChanged() override;

  // What the page needs for the commands it carries out itself: the web
  // addresses and the recommendation's texts.
  void SendPageCommands();
  // The move record, the side to move and whether the game is over, for
  // the record beside the board and what a screen reader is told.
  void SendRecord();
  void SendNotResumed(const std::string& reason);
  void SendTypedMoveFault(TypedMoveFault fault);

 private:
  const GameController* game_ = nullptr;
};

}  // namespace lanterra::web
