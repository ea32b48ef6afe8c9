// Games of a game file played on the board.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pgn/pgn_splitter.h"
#include "rules/position.h"

namespace lanterra {

// The game as messages name it: by source, its line and its number, and its
// Event tag when it has one.
std::string GameName(const PgnGame& game, std::string_view source);

// Plays a game's moves from its FEN tag (the normal start without one).
// Each move may be ICCS ("h2e2", "H2-E2"), WXF ("C2.5") or Chinese
// notation. On success start holds the start position and moves the moves;
// on failure error names the game (GameName) and says what is wrong: the
// splitter's fault, or the move number and the text of the move that does
// not play.
bool ReplayGame(const PgnGame& game, std::string_view source, Position& start, std::vector<Move>& moves,
                std::string& error);

}  // namespace lanterra
