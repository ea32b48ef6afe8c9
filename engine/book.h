// The opening book: 8-byte little-endian entries sorted by lock, where the
// lock is the lockB word of the position's key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/random.h"
#include "rules/position.h"

namespace lanterra {

struct BookEntry {
  uint32_t lock = 0;
  uint16_t move = 0;
  uint16_t weight = 0;
};

struct Book {
  BookEntry entries[BOOK_CAPACITY];
  int32_t bookSize = 0;
};

// Copies entries out of raw bytes: a remainder that is not a whole entry is
// ignored, and more than BOOK_CAPACITY entries are cut.
void ReadBook(Book& book, std::span<const uint8_t> data);

// Whether pos accepts a book move (already mirrored back when the position
// was found under its mirror image's lock).
bool BookMoveFits(const Position& pos, Move mv);

// What the lookup finds for pos: its run of entries (first == last when the
// book has neither the position nor its mirror image), and the moves it
// draws from, in book order: those pos accepts, at most
// MAX_MOVES_PER_POSITION of them.
struct BookChoices {
  int first = 0, last = 0;
  bool mirrored = false;  // found under the mirror image's lock
  int count = 0;
  int entry[MAX_MOVES_PER_POSITION];  // index into book.entries
  Move move[MAX_MOVES_PER_POSITION];  // as played in pos
  int total = 0;                      // of the kept moves' weights
};
void FindBookChoices(const Book& book, const Position& pos, BookChoices& choices);

// A weighted random book move for pos, or 0. Draws one random value exactly
// when it returns a move.
Move LookupBook(const Book& book, const Position& pos, PseudoRandom& random);

// The book compiled into native builds (empty when none was built in). The
// Windows game reads its RCDATA resource instead.
std::span<const uint8_t> EmbeddedBookData();

}  // namespace lanterra
