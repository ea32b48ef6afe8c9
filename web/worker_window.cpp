#include "web/worker_window.h"

#include <cstdint>
#include <ctime>

#include "app/board_geometry.h"
#include "app/commands.h"
#include "app/event_resources.h"
#include "app/menu_texts.h"
#include "app/move_list.h"
#include "app/web_links.h"
#include "web/page_messages.h"

namespace lanterra::web {

namespace {

// Message box styles the page draws: a lone OK button, or Yes and No.
constexpr unsigned BOX_OK = 0x0, BOX_YESNO = 0x4;

// Today as game files write dates, by the player's clock.
std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y.%m.%d", &local);
  return text;
}

}  // namespace

void WorkerWindow::PaintBoard() {
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

void WorkerWindow::PaintSquare(Square sq, bool framed) {
  const CellPoint cell = CellOf(sq, game_->Ui().flipped);
  PostSquare(cell.x, cell.y, game_->CurrentPosition().squares[sq], framed ? 1 : 0);
}

void WorkerWindow::PlayEventSound(Sound sound) { PostSound(SoundResource(sound)); }
void WorkerWindow::Beep() { PostBeep(); }
void WorkerWindow::EnableUndo(bool enabled) { PostUndo(enabled ? 1 : 0); }
void WorkerWindow::ShowMenuMarks(int level, bool soundOn) { PostMenuState(level, soundOn ? 1 : 0); }
void WorkerWindow::SetBusyCursor(bool busy) { PostBusy(busy ? 1 : 0); }

Answer WorkerWindow::OnGameOver(const char* text, const char* caption, GameResult result) {
  PostBox(text, caption, BOX_YESNO, std::to_string(ResultIcon(result)).c_str());
  return Answer::LATER;
}

// The system's symbols are pictures of the page's own, named after them.
void WorkerWindow::ShowMessage(const char* text, const char* caption, BoxIcon icon) {
  const std::string name = icon == BoxIcon::INFORMATION ? "information"
                           : icon == BoxIcon::WARNING   ? "warning"
                                                        : std::to_string(BoxIconResource(icon));
  PostBox(text, caption, BOX_OK, name.c_str());
}

void WorkerWindow::GameChanged() {
  PostSave(game_->SavedText().c_str());
  SendRecord();
}

void WorkerWindow::SendPageCommands() {
  for (const MenuEntry& entry : MENU_COMMANDS) {
    if (entry.command.kind != CommandKind::WEB_PAGE) continue;
    PostLink(entry.id, WebAddress(entry.command.page).c_str());
  }
  PostText("recommendation", RecommendationText().c_str());
  PostText("copied", TEXT_RECOMMENDATION_COPIED);
  PostText("clipboardUnavailable", TEXT_CLIPBOARD_UNAVAILABLE);
  PostText("recommendCaption", CAPTION_RECOMMEND);
  PostText("programCaption", CAPTION_PROGRAM);
}

void WorkerWindow::SendRecord() {
  const MoveList list = MakeMoveList(game_->Record());
  // A pair a line, its number, red's move and black's separated by tabs,
  // which no move text holds.
  std::string pairs;
  for (const MovePair& pair : list.pairs) pairs += std::to_string(pair.number) + '\t' + pair.red + '\t' + pair.black + '\n';
  const std::string pgn = MoveListPgn(game_->Record(), game_->Ui().flipped, Today());
  PostRecord(pairs.c_str(), list.result.c_str(), list.outcome.c_str(), MoveListText(list).c_str(), pgn.c_str(),
             game_->Ui().flipped ? 1 : 0, game_->CurrentPosition().side == SIDE_BLACK ? 1 : 0,
             game_->Ui().gameOver ? 1 : 0);
}

void WorkerWindow::SendNotResumed(const std::string& reason) { PostNotResumed(reason.c_str()); }

void WorkerWindow::SendTypedMoveFault(TypedMoveFault fault) {
  constexpr const char* NAMES[] = {"none", "over", "wait", "unreadable", "illegal"};
  PostTypedMove(NAMES[int(fault)]);
}

}  // namespace lanterra::web
