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

// A weighted random book move for pos, or 0. Draws one random value exactly
// when it returns a move.
Move LookupBook(const Book& book, const Position& pos, PseudoRandom& random);

// The book compiled into native builds (empty when none was built in). The
// Windows game reads its RCDATA resource instead.
std::span<const uint8_t> EmbeddedBookData();

}  // namespace lanterra
