// The game's record as a player reads it beside the board: the moves in
// Chinese notation (traditional characters, as game records are written),
// numbered in pairs, and the result with the reason the game ended. Both
// front ends can show it; the page shows and copies it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/game_controller.h"

namespace lanterra {

// One numbered pair: red's move and black's answer.
struct MovePair {
  int number = 0;     // from 1
  std::string red;    // empty only in a first pair that black opens
  std::string black;  // empty while black has not answered
};

struct MoveList {
  std::vector<MovePair> pairs;
  // The game's result as PGN writes it: "1-0", "0-1", "1/2-1/2", or "*"
  // while the game goes on.
  std::string result;
  // The result and why in words, "红胜（将死）"; empty while the game goes on.
  std::string outcome;
};

// The record's moves replayed from its start, each written in the position
// it was played in.
MoveList MakeMoveList(const GameRecord& record);

// The list as plain text: a pair a line ("1. 炮二平五 馬８進７"), the empty
// first move of a game black opens written "...", and the outcome on a line
// of its own once there is one.
std::string MoveListText(const MoveList& list);

// The record as a game file in Chinese notation, which the game-file reader
// reads back to the same moves: the human and the computer named as red and
// black by the side the human plays, the date as PGN writes it
// ("2026.03.14"), and the result with the ending's name.
std::string MoveListPgn(const GameRecord& record, bool humanPlaysBlack, std::string_view date);

}  // namespace lanterra
