// Placeholder until the opening book lands: an empty book answers nothing.
#include "engine/book.h"

#include <algorithm>

namespace lanterra {

void ReadBook(Book& book, std::span<const uint8_t> data) {
  book.bookSize = int32_t(std::min<size_t>(data.size() / 8, BOOK_CAPACITY));
  for (int i = 0; i < book.bookSize; ++i) {
    const uint8_t* p = data.data() + 8 * i;
    book.entries[i].lock = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    book.entries[i].move = uint16_t(p[4] | p[5] << 8);
    book.entries[i].weight = uint16_t(p[6] | p[7] << 8);
  }
}

Move LookupBook(const Book&, const Position&, PseudoRandom&) { return 0; }

std::span<const uint8_t> EmbeddedBookData() { return {}; }

}  // namespace lanterra
