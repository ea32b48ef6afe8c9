#include "app/game_controller.h"

#include <cstdio>
#include <iterator>

#include "app/game_texts.h"
#include "app/menu_texts.h"
#include "app/saved_game.h"
#include "app/web_links.h"
#include "rules/board_tables.h"

namespace lanterra {

namespace {

constexpr Sound ResultSound(GameResult result) {
  return result == GameResult::WIN ? Sound::WIN : result == GameResult::DRAW ? Sound::DRAW : Sound::LOSS;
}

// The judgement speaks for the mover; the box speaks for the human.
GameResult HumanResult(Ending ending, bool fromHuman) {
  switch (ResultOf(ending)) {
    case Result::DRAW:
      return GameResult::DRAW;
    case Result::MOVER_WINS:
      return fromHuman ? GameResult::WIN : GameResult::LOSS;
    default:
      return fromHuman ? GameResult::LOSS : GameResult::WIN;
  }
}

// The text of the box that announces an ending.
const char* GameOverText(Ending ending, bool fromHuman) {
  switch (ending) {
    case Ending::MATE:
    case Ending::STALEMATE:
      // Stalemate loses too, so the side that cannot move has lost either way.
      return fromHuman ? TEXT_HUMAN_WINS : TEXT_COMPUTER_WINS;
    case Ending::PERPETUAL_CHECK_BY_MOVER:
    case Ending::PERPETUAL_CHECK_AGAINST:
      // The checker loses.
      return HumanResult(ending, fromHuman) == GameResult::LOSS ? TEXT_HUMAN_PERPETUAL : TEXT_COMPUTER_PERPETUAL;
    case Ending::REPETITION:
      return TEXT_REPETITION_DRAW;
    default:
      return TEXT_MOVE_LIMIT_DRAW;
  }
}

}  // namespace

GameController::GameController(WindowServices& window, Engine& engine) : window(window), engine(engine) {
  // Both records start as the normal setup, so the controller never works on
  // an empty board before Begin.
  undoSnapshot.SetUpStart(0);
  currentPosition = undoSnapshot;
  record.start = undoSnapshot;
}

void GameController::Start() {
  window.ShowMenuMarks(ui.level, ui.soundOn);
  Position start;
  start.SetUpStart(0);
  Begin(start, false);
}

void GameController::Greet() { PlayEventSound(Sound::NEW_GAME); }

void GameController::Begin(const Position& position, bool humanPlaysBlack) {
  ui.flipped = humanPlaysBlack;
  undoSnapshot = position;
  RestartFromSnapshot();
}

void GameController::RestartFromSnapshot() {
  record.start = undoSnapshot;
  record.undoMoves = 0;
  RestoreSnapshot();
}

void GameController::PlayEventSound(Sound sound) {
  if (ui.soundOn) window.PlayEventSound(sound);
}

void GameController::SetUndoEnabled(bool enabled) {
  undoEnabled = enabled;
  window.EnableUndo(enabled);
}

void GameController::OnBoardClick(Square screenSquare) {
  ui.playAgain = false;
  window.BeginDrawing();
  const Square sq = ui.flipped ? FlipSquare(screenSquare) : screenSquare;
  Position& pos = currentPosition;

  if (!ON_BOARD[sq]) {
    // A click in the margin addresses no square; it neither selects nor moves.
  } else if (pos.squares[sq] & SideBit(pos.side)) {
    // Selecting works in every state, also after the game is over.
    if (ui.selectedSquare != 0) window.PaintSquare(ui.selectedSquare, false);
    ui.selectedSquare = sq;
    window.PaintSquare(sq, true);
    if (ui.lastMove != 0) {
      window.PaintSquare(Square(MoveFrom(ui.lastMove)), false);
      window.PaintSquare(Square(MoveTo(ui.lastMove)), false);
      ui.lastMove = 0;
    }
    PlayEventSound(Sound::SELECT);
  } else if (ui.selectedSquare != 0 && !ui.gameOver) {
    const Move mv = MoveOf(ui.selectedSquare, sq);
    // A shape the piece cannot make is ignored in silence; only a move that
    // would leave the own king attacked earns the refusal sound.
    if (pos.IsPseudoLegal(mv)) {
      const Position beforeMove = pos;
      if (!pos.DoMove(mv)) {
        PlayEventSound(Sound::REFUSED);
      } else {
        ui.lastMove = mv;
        window.PaintSquare(ui.selectedSquare, true);
        window.PaintSquare(sq, true);
        ui.selectedSquare = 0;
        record.moves.push_back(mv);
        const bool over = JudgeAfterMove(true);
        if (!over) {
          // Only a move the game goes on after can be taken back, together
          // with the reply that follows it.
          undoSnapshot = beforeMove;
          record.undoMoves = record.moves.size() - 1;
          SetUndoEnabled(true);
        }
        // Before the engine starts: a game cut short while it thinks then
        // resumes with the computer to move.
        window.GameChanged();
        if (!over) ComputerReply();
      }
    }
  }

  window.EndDrawing();
  // The box only records the answer; the new game starts once this click's
  // drawing surface is released.
  if (ui.gameOver && ui.playAgain) PlayAgain();
}

void GameController::PlayAgain() {
  // Whatever setup the finished game used, the next one is a normal game.
  ui.flipped = !ui.flipped;
  undoSnapshot.SetUpStart(0);
  NewGame();
}

bool GameController::AnswerGameOver(bool yes) {
  if (!questionOpen) return false;
  questionOpen = false;
  if (yes) {
    PlayAgain();
  } else {
    window.GameChanged();
  }
  return true;
}

void GameController::ComputerReply() {
  engine.SetLevel(ui.level);
  window.SetBusyCursor(true);
  const Move mv = engine.Decide(currentPosition).move;
  window.SetBusyCursor(false);

  // The engine always finds a move when one exists, and the game is judged
  // before the computer is asked. Still, a reply that is missing or does not
  // fit the board must not be played: that would corrupt the position.
  if (mv == 0 || !currentPosition.IsPseudoLegal(mv) || !currentPosition.DoMove(mv)) {
    if (currentPosition.IsMated()) {
      // The computer cannot move: as if the human's last move had mated.
      ShowGameOver(currentPosition.IsInCheck() ? Ending::MATE : Ending::STALEMATE, true);
      window.GameChanged();
    }
    return;
  }
  record.moves.push_back(mv);

  if (ui.lastMove != 0) {
    window.PaintSquare(Square(MoveFrom(ui.lastMove)), false);
    window.PaintSquare(Square(MoveTo(ui.lastMove)), false);
  }
  ui.lastMove = mv;
  window.PaintSquare(Square(MoveFrom(mv)), true);
  window.PaintSquare(Square(MoveTo(mv)), true);
  JudgeAfterMove(false);
  window.GameChanged();
}

bool GameController::JudgeAfterMove(bool fromHuman) {
  // Read before the judgement, which collapses the history after a capture.
  const MoveRecord last = currentPosition.LastRecord();
  const Ending ending = JudgeMove(currentPosition);
  if (ending == Ending::NONE) {
    if (last.inCheck) {
      PlayEventSound(fromHuman ? Sound::HUMAN_CHECK : Sound::COMPUTER_CHECK);
    } else if (last.captured != 0) {
      PlayEventSound(fromHuman ? Sound::HUMAN_CAPTURE : Sound::COMPUTER_CAPTURE);
    } else {
      PlayEventSound(fromHuman ? Sound::HUMAN_MOVE : Sound::COMPUTER_MOVE);
    }
    return false;
  }
  ShowGameOver(ending, fromHuman);
  return true;
}

void GameController::NewGame() {
  RestartFromSnapshot();
  PlayEventSound(Sound::NEW_GAME);
  window.BeginDrawing();
  window.PaintBoard();
  window.GameChanged();
  if (ui.flipped) ComputerReply();
  window.EndDrawing();
}

void GameController::RestoreSnapshot() {
  ui.lastMove = 0;
  ui.selectedSquare = 0;
  ui.gameOver = false;
  currentPosition = undoSnapshot;
  record.moves.resize(record.undoMoves);
  record.ending = Ending::NONE;
  // A question still open belongs to the game just left; a late answer
  // must not start another.
  questionOpen = false;
  SetUndoEnabled(false);
}

void GameController::ShowGameOver(Ending ending, bool fromHuman) {
  PlayEventSound(ResultSound(HumanResult(ending, fromHuman)));
  // Set before the box: the window may repaint while the box is open.
  ui.gameOver = true;
  record.ending = ending;
  AskGameOver(ending, fromHuman);
}

void GameController::AskGameOver(Ending ending, bool fromHuman) {
  char message[GAME_OVER_MESSAGE_SIZE];
  std::snprintf(message, sizeof message, "%s%s", GameOverText(ending, fromHuman), TEXT_PLAY_AGAIN_QUESTION);
  const Answer answer = window.OnGameOver(message, CAPTION_GAME_OVER, HumanResult(ending, fromHuman));
  ui.playAgain = answer == Answer::YES;
  questionOpen = answer == Answer::LATER;
}

bool GameController::Resume(std::string_view text, std::string& error) {
  ResumedGame game;
  if (!ReadSavedGame(text, game, error)) return false;
  const SavedGame& saved = game.saved;
  ui = UiState{};
  ui.flipped = saved.humanPlaysBlack;
  ui.level = saved.level;
  ui.soundOn = saved.soundOn;
  ui.lastMove = saved.lastMove;
  ui.gameOver = saved.record.ending != Ending::NONE;
  currentPosition = game.current;
  undoSnapshot = game.undoSnapshot;
  record = saved.record;
  questionOpen = saved.questionOpen;
  engine.SetRandomState(saved.randomState);
  window.ShowMenuMarks(ui.level, ui.soundOn);
  SetUndoEnabled(saved.undoEnabled);
  return true;
}

void GameController::GoOn() {
  ui.playAgain = false;
  if (questionOpen) {
    // The computer is to move when the human's move ended the game, and
    // when the computer had no move left.
    AskGameOver(record.ending, currentPosition.side != HumanSide());
    if (ui.playAgain) {
      PlayAgain();
    } else if (!questionOpen) {
      window.GameChanged();
    }
  } else if (!ui.gameOver && currentPosition.side != HumanSide()) {
    window.BeginDrawing();
    ComputerReply();
    window.EndDrawing();
    if (ui.gameOver && ui.playAgain) PlayAgain();
  }
}

std::string GameController::SavedText() const {
  SavedGame saved;
  saved.record = record;
  saved.humanPlaysBlack = ui.flipped;
  saved.level = ui.level;
  saved.soundOn = ui.soundOn;
  saved.randomState = engine.RandomState();
  saved.undoEnabled = undoEnabled;
  saved.lastMove = ui.lastMove;
  saved.questionOpen = questionOpen;
  return WriteSavedGame(saved, currentPosition);
}

bool GameController::StartGame(int setup, bool humanPlaysBlack) {
  if (setup < 0 || setup >= SETUP_COUNT) return false;
  Position start;
  start.SetUpStart(setup);
  StartGame(start, humanPlaysBlack);
  return true;
}

void GameController::StartGame(const Position& position, bool humanPlaysBlack) {
  ui.flipped = humanPlaysBlack;
  undoSnapshot = position;
  NewGame();
}

bool GameController::SetLevel(int level) {
  if (level < 0 || level >= LEVEL_COUNT) return false;
  ui.level = level;
  window.ShowMenuMarks(ui.level, ui.soundOn);
  window.GameChanged();
  // Warned every time it is chosen: a decision can take minutes there.
  if (level == LEVEL_COUNT - 1) {
    window.ShowMessage(TEXT_LEVEL6_WARNING, CAPTION_PROGRAM, BoxIcon::INFORMATION);
  }
  return true;
}

bool GameController::Undo() {
  // The menu item is gray then; a caller that asks anyway changes nothing.
  if (!undoEnabled) return false;
  RestoreSnapshot();
  window.BeginDrawing();
  window.PaintBoard();
  window.EndDrawing();
  window.GameChanged();
  return true;
}

void GameController::ToggleSound() {
  ui.soundOn = !ui.soundOn;
  window.ShowMenuMarks(ui.level, ui.soundOn);
  window.GameChanged();
}

bool GameController::Run(const Command& command) {
  switch (command.kind) {
    case CommandKind::NEW_GAME:
      // The game in progress is dropped without a question.
      return StartGame(command.setup, command.humanPlaysBlack);
    case CommandKind::LEVEL:
      return SetLevel(command.level);
    case CommandKind::UNDO:
      return Undo();
    case CommandKind::SOUND:
      ToggleSound();
      return true;
    case CommandKind::QUOTE:
      ShowQuote();
      return true;
    case CommandKind::ABOUT:
      ShowAbout();
      return true;
    case CommandKind::WEB_PAGE:
      window.OpenWebPage(WebAddress(command.page));
      return true;
    case CommandKind::COPY_RECOMMENDATION:
      CopyRecommendation();
      return true;
  }
  return false;
}

void GameController::ShowQuote() {
  if (ui.soundOn) window.Beep();
  // Consecutive quotes may repeat: each is an independent draw from the
  // generator the engine draws from too.
  const int index = engine.NextRandom() % int(std::size(QUOTES));
  window.GameChanged();
  window.ShowMessage(QUOTES[index], CAPTION_QUOTE, BoxIcon::QUOTE);
}

void GameController::ShowAbout() {
  if (ui.soundOn) window.Beep();
  window.ShowMessage(TEXT_ABOUT, CAPTION_ABOUT, BoxIcon::PROGRAM);
}

void GameController::CopyRecommendation() {
  if (window.CopyText(RecommendationText())) {
    window.ShowMessage(TEXT_RECOMMENDATION_COPIED, CAPTION_RECOMMEND, BoxIcon::INFORMATION);
  } else {
    window.ShowMessage(TEXT_CLIPBOARD_UNAVAILABLE, CAPTION_RECOMMEND, BoxIcon::WARNING);
  }
}

}  // namespace lanterra
