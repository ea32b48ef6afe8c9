#include "app/game_controller.h"

#include <cstdio>

#include "app/game_texts.h"
#include "rules/board_tables.h"

namespace lanterra {

namespace {

// The history holds the base record plus one record per move since the
// setup or the last capture, so a count above this means 100 such moves.
constexpr int NATURAL_LIMIT_COUNT = 100;

constexpr Sound ResultSound(GameResult result) {
  return result == GameResult::WIN ? Sound::WIN : result == GameResult::DRAW ? Sound::DRAW : Sound::LOSS;
}

}  // namespace

GameController::GameController(WindowServices& window, Engine& engine) : window(window), engine(engine) {
  // Both records start as the normal setup, so the controller never works on
  // an empty board before Begin.
  undoSnapshot.SetUpStart(0);
  currentPosition = undoSnapshot;
}

void GameController::Begin(const Position& position, bool humanPlaysBlack) {
  ui.flipped = humanPlaysBlack;
  undoSnapshot = position;
  RestoreSnapshot();
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
    if (ui.selectedSquare != 0) window.PaintSquare(Square(ui.selectedSquare), false);
    ui.selectedSquare = sq;
    window.PaintSquare(sq, true);
    if (ui.lastMove != 0) {
      window.PaintSquare(Square(MoveFrom(ui.lastMove)), false);
      window.PaintSquare(Square(MoveTo(ui.lastMove)), false);
      ui.lastMove = 0;
    }
    window.PlayEventSound(Sound::SELECT);
  } else if (ui.selectedSquare != 0 && !ui.gameOver) {
    const Move mv = MoveOf(ui.selectedSquare, sq);
    // A shape the piece cannot make is ignored in silence; only a move that
    // would leave the own king attacked earns the refusal sound.
    if (pos.IsPseudoLegal(mv)) {
      const Position beforeMove = pos;
      if (pos.DoMove(mv) == 0) {
        window.PlayEventSound(Sound::REFUSED);
      } else {
        ui.lastMove = mv;
        window.PaintSquare(Square(ui.selectedSquare), true);
        window.PaintSquare(sq, true);
        ui.selectedSquare = 0;
        if (!JudgeAfterMove(true)) {
          // Only a move the game goes on after can be taken back, together
          // with the reply that follows it.
          undoSnapshot = beforeMove;
          SetUndoEnabled(true);
          ComputerReply();
        }
      }
    }
  }

  window.EndDrawing();
  // The box only records the answer; the new game starts once this click's
  // drawing surface is released.
  if (ui.gameOver && ui.playAgain) {
    ui.flipped = !ui.flipped;
    undoSnapshot.SetUpStart(0);
    NewGame();
  }
}

void GameController::ComputerReply() {
  engine.SetLevel(ui.level);
  window.SetBusyCursor(true);
  const Move mv = engine.Decide(currentPosition).move;
  window.SetBusyCursor(false);

  // The engine always finds a move when one exists, and the game is judged
  // before the computer is asked. Still, a reply that is missing or does not
  // fit the board must not be played: that would corrupt the position.
  if (mv == 0 || !currentPosition.IsPseudoLegal(mv) || currentPosition.DoMove(mv) == 0) {
    if (currentPosition.IsMated()) ShowGameOver(TEXT_HUMAN_WINS, GameResult::WIN);
    return;
  }

  if (ui.lastMove != 0) {
    window.PaintSquare(Square(MoveFrom(ui.lastMove)), false);
    window.PaintSquare(Square(MoveTo(ui.lastMove)), false);
  }
  ui.lastMove = mv;
  window.PaintSquare(Square(MoveFrom(mv)), true);
  window.PaintSquare(Square(MoveTo(mv)), true);
  JudgeAfterMove(false);
}

bool GameController::JudgeAfterMove(bool fromHuman) {
  Position& pos = currentPosition;
  // The status is taken before the mate test, which plays and takes back
  // moves on the position.
  const int status = pos.RepetitionStatus(3);

  if (pos.IsMated()) {
    // Stalemate loses too, so the side that cannot move has lost either way.
    if (fromHuman) {
      ShowGameOver(TEXT_HUMAN_WINS, GameResult::WIN);
    } else {
      ShowGameOver(TEXT_COMPUTER_WINS, GameResult::LOSS);
    }
    return true;
  }

  if (status > 0) {
    // The score is the side to move's, that is the opponent of the mover: far
    // above zero means the mover kept checking, far below means the side to
    // move did.
    const int v = pos.RepetitionScore(status);
    const bool humanToMove = !fromHuman;
    const bool humanPerpetual = humanToMove ? v < -SCORE_WIN : v > SCORE_WIN;
    const bool computerPerpetual = humanToMove ? v > SCORE_WIN : v < -SCORE_WIN;
    if (humanPerpetual) {
      ShowGameOver(TEXT_HUMAN_PERPETUAL, GameResult::LOSS);
    } else if (computerPerpetual) {
      ShowGameOver(TEXT_COMPUTER_PERPETUAL, GameResult::WIN);
    } else {
      ShowGameOver(TEXT_REPETITION_DRAW, GameResult::DRAW);
    }
    return true;
  }

  // Tested before the history collapses, so a capture as the hundredth
  // move still ends the game.
  if (pos.historyCount > NATURAL_LIMIT_COUNT) {
    ShowGameOver(TEXT_MOVE_LIMIT_DRAW, GameResult::DRAW);
    return true;
  }

  const MoveRecord& last = pos.LastRecord();
  if (last.inCheck) {
    window.PlayEventSound(fromHuman ? Sound::HUMAN_CHECK : Sound::COMPUTER_CHECK);
  } else if (last.captured != 0) {
    window.PlayEventSound(fromHuman ? Sound::HUMAN_CAPTURE : Sound::COMPUTER_CAPTURE);
  } else {
    window.PlayEventSound(fromHuman ? Sound::HUMAN_MOVE : Sound::COMPUTER_MOVE);
  }
  // No earlier position can recur after a capture, so the history restarts
  // there and the move count for the natural limit with it.
  if (last.captured != 0) pos.CollapseHistory();
  return false;
}

void GameController::NewGame() {
  RestoreSnapshot();
  window.PlayEventSound(Sound::NEW_GAME);
  window.BeginDrawing();
  window.PaintBoard();
  if (ui.flipped) ComputerReply();
  window.EndDrawing();
}

void GameController::RestoreSnapshot() {
  ui.lastMove = 0;
  ui.selectedSquare = 0;
  ui.gameOver = false;
  currentPosition = undoSnapshot;
  SetUndoEnabled(false);
}

void GameController::ShowGameOver(const char* text, GameResult result) {
  window.PlayEventSound(ResultSound(result));
  char message[GAME_OVER_MESSAGE_SIZE];
  std::snprintf(message, sizeof message, "%s%s", text, TEXT_PLAY_AGAIN_QUESTION);
  // Set before the box: the window may repaint while the box is open.
  ui.gameOver = true;
  ui.playAgain = window.AskAboutResult(message, CAPTION_GAME_OVER, result) == Answer::YES;
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
  return true;
}

bool GameController::Undo() {
  // The menu item is gray then; a caller that asks anyway changes nothing.
  if (!undoEnabled) return false;
  RestoreSnapshot();
  window.BeginDrawing();
  window.PaintBoard();
  window.EndDrawing();
  return true;
}

void GameController::ToggleSound() { ui.soundOn = !ui.soundOn; }

}  // namespace lanterra
