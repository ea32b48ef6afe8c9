#include "app/game_controller.h"

#include <cstdio>

#include "app/game_texts.h"
#include "rules/board_tables.h"
#include "rules/game_end.h"

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
  // Read before the judgement, which collapses the history after a capture.
  const MoveRecord last = currentPosition.LastRecord();
  const Ending ending = JudgeMove(currentPosition);
  if (ending == Ending::NONE) {
    if (last.inCheck) {
      window.PlayEventSound(fromHuman ? Sound::HUMAN_CHECK : Sound::COMPUTER_CHECK);
    } else if (last.captured != 0) {
      window.PlayEventSound(fromHuman ? Sound::HUMAN_CAPTURE : Sound::COMPUTER_CAPTURE);
    } else {
      window.PlayEventSound(fromHuman ? Sound::HUMAN_MOVE : Sound::COMPUTER_MOVE);
    }
    return false;
  }

  const GameResult result = HumanResult(ending, fromHuman);
  switch (ending) {
    case Ending::MATE:
    case Ending::STALEMATE:
      // Stalemate loses too, so the side that cannot move has lost either way.
      ShowGameOver(fromHuman ? TEXT_HUMAN_WINS : TEXT_COMPUTER_WINS, result);
      break;
    case Ending::PERPETUAL_CHECK_BY_MOVER:
    case Ending::PERPETUAL_CHECK_AGAINST:
      // The checker loses.
      ShowGameOver(result == GameResult::LOSS ? TEXT_HUMAN_PERPETUAL : TEXT_COMPUTER_PERPETUAL, result);
      break;
    case Ending::REPETITION:
      ShowGameOver(TEXT_REPETITION_DRAW, result);
      break;
    default:
      ShowGameOver(TEXT_MOVE_LIMIT_DRAW, result);
      break;
  }
  return true;
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
