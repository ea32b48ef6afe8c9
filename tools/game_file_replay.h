// Shared by the commands that take game files: every game of a file read
// and played, the ones that do not play reported and counted.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "pgn/pgn_splitter.h"
#include "rules/position.h"

namespace lanterra::tool {

// How reading one game file ended.
enum class FileRead {
  WHOLE,     // to its end; some games may still have failed to play
  UNOPENED,  // the file could not be opened
  BROKEN,    // reading stopped early: a damaged or cut file, text in no known encoding
};

struct ReplayCount {
  long games = 0;
  long failed = 0;  // games that did not play, or that the receiver did not take
};

// Receives each game that plays, with its start position and its moves;
// returns why it cannot take the game, or nothing when it takes it.
using PlayedGame =
    std::function<std::string(const PgnGame& game, const Position& start, const std::vector<Move>& moves)>;

// Reads the games of the file at path and plays each: onGame receives every
// game that plays; why any other does not play, or why onGame did not take
// it, goes to stderr, and count adds up both. A file not read to its end
// gives the reason in error.
FileRead ReplayGameFile(const std::string& path, ReplayCount& count, const PlayedGame& onGame, std::string& error);

}  // namespace lanterra::tool
