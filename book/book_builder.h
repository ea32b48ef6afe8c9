// Builds the opening book from games: counts the moves played in each
// position, folds every position onto one of its two mirror orientations,
// keeps what enough games agree on and writes the sorted entries.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/book.h"
#include "rules/position.h"

namespace lanterra {

struct BookBuildOptions {
  int minGames = 8;       // a position must be reached in this many games
  int minMoveGames = 3;   // and a move played there in this many
};

struct BookBuildStats {
  long gamesAdded = 0;        // games replayed into the counts
  long gamesSkipped = 0;      // games from another setup than the normal start
  long positionsSeen = 0;     // distinct positions, mirrors folded together
  long positionsKept = 0;     // positions that passed both thresholds
  long positionsUnreachable = 0;  // kept but not reached from the start through book moves
  long lockClashes = 0;       // positions dropped because another one shares their lock
  long positionsScaled = 0;   // positions whose weights were scaled down
  long entries = 0;
  long positions = 0;         // positions written
};

class BookBuilder {
 public:
  // Adds one game from the normal start; games from other setups are
  // counted as skipped and otherwise ignored.
  void AddGame(const Position& start, std::span<const Move> moves);
  // Sorted by lock, then by move.
  std::vector<BookEntry> Build(const BookBuildOptions& options, BookBuildStats& stats) const;

 private:
  struct Sample {
    uint32_t lockB, lockA, key;  // of the position in its stored orientation
    uint16_t move;               // in that orientation
    uint8_t symmetric;           // the position is its own mirror image
    int32_t game;
  };
  std::vector<Sample> samples;
  int32_t gameCount = 0;
  long skipped = 0;
};

// The normal start position's moves and weights, which the book gives
// exactly as the game has always played them.
struct StartMove {
  uint16_t move;
  uint16_t weight;
};
extern const StartMove START_BOOK_MOVES[16];

std::vector<uint8_t> EncodeBook(std::span<const BookEntry> entries);

// What a walk through the book from the normal start finds.
struct BookCheck {
  long entries = 0;
  long positions = 0;     // runs of one lock
  long reachable = 0;     // entries whose position the walk reaches
  long orderFaults = 0;   // neighbours out of lock, move order
  long illegalMoves = 0;  // reached entries whose move the position refuses
};

// Walks the book from the normal start through every book move, looking a
// position up as the engine does (its own lock first, then its mirror's).
BookCheck CheckBook(std::span<const BookEntry> entries);

}  // namespace lanterra
