// A game kept between visits of the page, as versioned text: the game's
// record (the start as FEN, every move since in ICCS, the undo state) with
// the settings around it and the state of the game's generator. Reading it
// replays the moves through the rules as the game played them, so the
// positions, and the histories the repetition rule looks back on, come out
// as the game had them; nothing is ever copied from memory. A text that
// does not describe a game the controller could have reached is refused
// whole, with the reason.
//
//   lanterra saved game 1
//   start rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1
//   human red                  (or black: the board is turned)
//   level 3
//   sound on                   (or off)
//   random 2531011             (the generator's state)
//   moves h2e2 h9g7
//   undo 0 on                  (moves the undo snapshot holds; Undo on or off)
//   over no                    (or asking: the game-over question is open;
//                               or answered: the game is over, answered No)
//   board h9g7 rnbakab1r/9/1c4nc1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C4/9/RNBAKABNR w - - 0 1
//
// The board line is the position on the board and its framed last move (or
// -), so that a page can show the board before the game itself has
// started; the reader checks it against the replay.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/game_controller.h"
#include "rules/position.h"

namespace lanterra {

inline constexpr int SAVED_GAME_VERSION = 1;

// No game is longer: the history restarts only at a capture, 30 pieces can
// be taken, and the 100th move after the start or a capture ends the game.
inline constexpr size_t MAX_SAVED_MOVES = 31 * NATURAL_LIMIT_COUNT;
// Room for that many moves and the rest of the record, with plenty to spare.
inline constexpr size_t MAX_SAVED_GAME_SIZE = 32768;

struct SavedGame {
  // The start and the moves; the ending is judged on the replay.
  GameRecord record;
  bool humanPlaysBlack = false;
  int level = 0;
  bool soundOn = true;
  uint32_t randomState = 0;
  bool undoEnabled = false;
  // The move framed on the board: 0, or the last move of the record.
  Move lastMove = 0;
  // The game is over and its question still waits for the player's answer.
  bool questionOpen = false;
};

// What reading gives: the saved game and the two positions its replay
// reaches.
struct ResumedGame {
  SavedGame saved;
  Position current;       // after every move
  Position undoSnapshot;  // after the first record.undoMoves moves
};

// The text of game, whose moves lead to current.
std::string WriteSavedGame(const SavedGame& game, const Position& current);

// Reads and replays text into out. On failure returns false, says why in
// error and leaves out untouched.
bool ReadSavedGame(std::string_view text, ResumedGame& out, std::string& error);

}  // namespace lanterra
