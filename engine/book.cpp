#include "engine/book.h"

#include <algorithm>

#include "rules/board_tables.h"

namespace lanterra {

namespace {

// Any entry of the run whose lock is lock, or -1. Which one of the run the
// search lands on does not matter: the caller steps back to its start.
int FindLock(const Book& book, uint32_t lock) {
  int low = 0, high = book.bookSize - 1;
  while (low <= high) {
    int mid = (low + high) / 2;
    uint32_t midLock = book.entries[mid].lock;
    if (midLock < lock) low = mid + 1;
    else if (midLock > lock) high = mid - 1;
    else return mid;
  }
  return -1;
}

}  // namespace

void ReadBook(Book& book, std::span<const uint8_t> data) {
  book.bookSize = int32_t(std::min<size_t>(data.size() / 8, BOOK_CAPACITY));
  for (int i = 0; i < book.bookSize; ++i) {
    const uint8_t* p = data.data() + 8 * i;
    book.entries[i].lock = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    book.entries[i].move = uint16_t(p[4] | p[5] << 8);
    book.entries[i].weight = uint16_t(p[6] | p[7] << 8);
  }
}

bool BookMoveFits(const Position& pos, Move mv) {
  // A damaged book could hold a slide onto the margin, which the movement
  // rule alone would pass, so both squares must also be playing squares.
  return ON_BOARD[MoveFrom(mv)] && ON_BOARD[MoveTo(mv)] && pos.IsPseudoLegal(mv);
}

void FindBookChoices(const Book& book, const Position& pos, BookChoices& choices) {
  choices.first = choices.last = choices.count = choices.total = 0;
  choices.mirrored = false;

  // Steps 1-2: the position itself, and only if it is absent, its mirror image.
  int found = FindLock(book, pos.zobrist.lockB);
  if (found < 0) {
    Position mirror;
    pos.MirrorInto(mirror);
    found = FindLock(book, mirror.zobrist.lockB);
    if (found < 0) return;
    choices.mirrored = true;
  }

  // Step 3: the whole run, from its first entry.
  uint32_t lock = book.entries[found].lock;
  while (found > 0 && book.entries[found - 1].lock == lock) --found;
  choices.first = choices.last = found;
  while (choices.last < book.bookSize && book.entries[choices.last].lock == lock) ++choices.last;

  // Step 4: keep the moves the position accepts, as many as a move list holds.
  for (int i = choices.first; i < choices.last && choices.count < MAX_MOVES_PER_POSITION; ++i) {
    Move mv = book.entries[i].move;
    if (choices.mirrored) mv = MirroredMove(mv);
    if (!BookMoveFits(pos, mv)) continue;
    choices.entry[choices.count] = i;
    choices.move[choices.count] = mv;
    choices.total += book.entries[i].weight;
    ++choices.count;
  }
}

Move LookupBook(const Book& book, const Position& pos, PseudoRandom& random) {
  // An empty book answers nothing and draws nothing.
  if (book.bookSize == 0) return 0;
  BookChoices choices;
  FindBookChoices(book, pos, choices);

  // Nothing kept, or only zero weights.
  if (choices.total == 0) return 0;

  // One draw, then walk the cumulative weights.
  int r = random.Next() % choices.total;
  for (int i = 0; i < choices.count; ++i) {
    r -= book.entries[choices.entry[i]].weight;
    if (r < 0) return choices.move[i];
  }
  return 0;  // not reached: the weights add up to total
}

}  // namespace lanterra
