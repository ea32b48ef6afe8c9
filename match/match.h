// Matches of our engine against an outside engine that runs as a child
// process on pipes. Every game is judged by our own rules, exactly as the
// game judges it.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "match/adjudication.h"
#include "match/book_openings.h"
#include "match/elo.h"
#include "match/outside_engine.h"
#include "notation/move_notation.h"

namespace lanterra {

struct GameRecord {
  int round = 0;
  std::string red, black;
  std::vector<Move> moves;  // from the normal start
  Verdict verdict;
};
// One game as PGN: moves in ICCS ("H2-E2") with a [Format "ICCS"] tag, or
// in another notation as FormatGameRecord writes them.
std::string FormatPgn(const GameRecord& game, std::string_view event, Notation notation = Notation::ICCS);

struct MatchSettings {
  int level = 3;
  bool useBook = true;
  int openings = 4;       // each is played twice, once with each colour
  int openingPlies = 6;
  uint32_t seed = 1;      // our generator is seeded with seed + game number
  // Our colours to play: both, or only red or only black. The games keep the
  // numbers (and so the seeds) they have in a match of both colours, so a
  // long match can be split over two processes and still play its games.
  bool playRed = true;
  bool playBlack = true;
  std::string pgnPath;    // appended to when set
  Notation pgnNotation = Notation::ICCS;
  OutsideEngineSettings engine;
};

// Plays the match, writing one line per game and the score line to log.
// Returns false (with error) when the outside engine cannot be started or
// fails during the match.
bool RunMatch(const MatchSettings& settings, std::ostream& log, MatchScore& score, std::string& error);

// The same against an engine whose session is open, writing each game to pgn
// when it is given (settings.pgnPath is not used).
bool PlayMatch(const MatchSettings& settings, OutsideEngine& engine, std::ostream& log, std::ostream* pgn,
               MatchScore& score, std::string& error);

}  // namespace lanterra
