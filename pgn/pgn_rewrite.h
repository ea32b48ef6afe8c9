// A played game written out again as a game file that reads back to itself:
// what "lanterra pgn" writes, and what the game-file fuzz harness reads back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "notation/move_notation.h"
#include "pgn/pgn_splitter.h"
#include "rules/position.h"

namespace lanterra {

// Whether the reader takes record whole as one game with its default
// bounds: no line longer than MAX_LINE_BYTES, and no more than
// MAX_GAME_BYTES in all, counted as the splitter counts them.
bool FitsTheReader(std::string_view record);

// Writes game, which start and moves have played (ReplayGame), into record.
// Without a notation it becomes a Result tag line and one line of ICCS moves,
// after a FEN tag line when the start is not the normal one; with one, a
// full record in that notation (FormatGameRecord) whose result is the
// Result tag, or the result token after the moves when the tag holds none.
// The FEN is written as ToFen writes it, whatever form the source gave, so
// that a second pass writes the same. Returns false with the reason in
// error when the record would not read back whole: a game near the reader's
// bounds may grow past them as written (tag values gain escapes, moves gain
// spaces and numbers).
bool RewriteGame(const PgnGame& game, const Position& start, const std::vector<Move>& moves,
                 std::optional<Notation> notation, std::string& record, std::string& error);

}  // namespace lanterra
