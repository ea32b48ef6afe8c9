#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "book/book_builder.h"
#include "engine/book.h"
#include "notation/fen_iccs.h"

namespace lanterra {
namespace {

Position FromFen(std::string_view fen) {
  Position pos;
  std::string error;
  EXPECT_TRUE(ParseFen(fen, pos, error)) << error;
  return pos;
}

uint32_t LockOf(const Position& pos) { return pos.zobrist.lockB; }
uint32_t MirrorLockOf(const Position& pos) {
  Position mirror;
  pos.MirrorInto(mirror);
  return mirror.zobrist.lockB;
}

// Entries are given in book order; the helper only copies them in.
std::unique_ptr<Book> MakeBook(const std::vector<BookEntry>& entries) {
  auto book = std::make_unique<Book>();
  for (const BookEntry& e : entries) book->entries[book->bookSize++] = e;
  return book;
}

// The value the generator would give next, without disturbing it.
int PeekNext(const PseudoRandom& random) {
  PseudoRandom copy = random;
  return copy.Next();
}

// The start without red's right knight: not its own mirror image.
constexpr std::string_view NO_RIGHT_KNIGHT = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKAB1R w";

const Move LEFT_CANNON_TO_MIDDLE = 0xA7A4;   // rank 10: file 4 to file 7
const Move RIGHT_CANNON_TO_MIDDLE = 0xA7AA;  // rank 10: file 10 to file 7

TEST(BookLookup, EmptyBookAnswersNothingAndDrawsNothing) {
  auto book = MakeBook({});
  PseudoRandom random;
  random.Seed(99);
  int next = PeekNext(random);
  EXPECT_EQ(LookupBook(*book, FromFen(START_FEN), random), 0);
  EXPECT_EQ(random.Next(), next);
}

TEST(BookLookup, MirrorMatchMirrorsItsMoves) {
  Position pos = FromFen(NO_RIGHT_KNIGHT);
  ASSERT_NE(LockOf(pos), MirrorLockOf(pos));
  auto book = MakeBook({{MirrorLockOf(pos), uint16_t(LEFT_CANNON_TO_MIDDLE), 5}});
  PseudoRandom random;
  EXPECT_EQ(LookupBook(*book, pos, random), RIGHT_CANNON_TO_MIDDLE);
}

TEST(BookLookup, OwnEntriesAllRefusedAnswerNothingDespiteMirror) {
  Position pos = FromFen(NO_RIGHT_KNIGHT);
  // The knight that the position lacks cannot move; the mirror's entry
  // would be playable but is not consulted.
  std::vector<BookEntry> entries = {{LockOf(pos), uint16_t(MoveOf(SquareAt(12, 10), SquareAt(10, 9))), 7},
                                    {MirrorLockOf(pos), uint16_t(LEFT_CANNON_TO_MIDDLE), 5}};
  std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.lock < b.lock; });
  auto book = MakeBook(entries);
  PseudoRandom random;
  int next = PeekNext(random);
  EXPECT_EQ(LookupBook(*book, pos, random), 0);
  EXPECT_EQ(random.Next(), next);
}

// A run of weights 1, 1, 2 among other positions' runs: r = 0 takes the
// first move, 1 the second, 2 and 3 the third.
TEST(BookLookup, WeightsChooseByTheDrawnValue) {
  Position pos = FromFen(START_FEN);
  uint32_t lock = LockOf(pos);
  const Move moves[3] = {0xA7AA, 0xA7A4, 0x8595};
  std::vector<BookEntry> entries;
  for (uint32_t other : {lock - 3, lock - 2, lock - 1}) entries.push_back({other, uint16_t(0xA7AA), 9});
  entries.push_back({lock, uint16_t(moves[0]), 1});
  entries.push_back({lock, uint16_t(moves[1]), 1});
  entries.push_back({lock, uint16_t(moves[2]), 2});
  for (uint32_t other : {lock + 1, lock + 2}) entries.push_back({other, uint16_t(0xA7AA), 9});
  auto book = MakeBook(entries);
  const int expected[4] = {0, 1, 2, 2};
  int seen[4] = {};
  for (uint32_t seed = 0; seed < 64; ++seed) {
    PseudoRandom random;
    random.Seed(seed);
    int r = PeekNext(random) % 4;
    ++seen[r];
    EXPECT_EQ(LookupBook(*book, pos, random), moves[expected[r]]) << "r = " << r;
  }
  for (int r = 0; r < 4; ++r) EXPECT_GT(seen[r], 0) << "no seed gave r = " << r;
}

TEST(BookLookup, OneDrawPerAnswerEvenForASingleMove) {
  Position pos = FromFen(START_FEN);
  auto book = MakeBook({{LockOf(pos), uint16_t(0xA7AA), 3}});
  PseudoRandom random;
  random.Seed(5);
  PseudoRandom expected = random;
  expected.Next();
  EXPECT_EQ(LookupBook(*book, pos, random), 0xA7AA);
  EXPECT_EQ(random.Next(), expected.Next());
}

struct RefusalCase {
  const char* what;
  std::vector<std::pair<Move, uint16_t>> moves;
};

TEST(BookLookup, RunsWithNothingUsableAnswerNothing) {
  Position pos = FromFen(START_FEN);
  const RefusalCase cases[] = {
      {"zero weights", {{0xA7AA, 0}, {0xA7A4, 0}}},
      {"no piece on the from-square", {{MoveOf(SquareAt(9, 4), SquareAt(8, 4)), 4}}},
      // A damaged book could slide the rook off the playing area.
      {"rook onto the margin", {{MoveOf(SquareAt(12, 3), SquareAt(12, 2)), 4}}},
      {"cannon onto the margin", {{MoveOf(SquareAt(10, 4), SquareAt(10, 1)), 4}}},
  };
  for (const RefusalCase& c : cases) {
    std::vector<BookEntry> entries;
    for (auto [mv, w] : c.moves) entries.push_back({LockOf(pos), uint16_t(mv), w});
    auto book = MakeBook(entries);
    PseudoRandom random;
    EXPECT_EQ(LookupBook(*book, pos, random), 0) << c.what;
  }
}

TEST(BookLookup, OnlyTheFirst128EntriesOfARunCount) {
  Position pos = FromFen(START_FEN);
  std::vector<BookEntry> entries(128, BookEntry{LockOf(pos), uint16_t(0xA7AA), 1});
  entries.push_back({LockOf(pos), uint16_t(0xA7A4), 30000});
  auto book = MakeBook(entries);
  for (uint32_t seed = 0; seed < 16; ++seed) {
    PseudoRandom random;
    random.Seed(seed);
    EXPECT_EQ(LookupBook(*book, pos, random), 0xA7AA);
  }
}

TEST(ReadBook, DecodesLittleEndianAndDropsWhatDoesNotFit) {
  const uint8_t example[] = {0x40, 0x32, 0x06, 0x00, 0xB5, 0x85, 0x06, 0x00, 0xAA, 0xBB, 0xCC};
  auto book = std::make_unique<Book>();
  ReadBook(*book, example);
  ASSERT_EQ(book->bookSize, 1);
  EXPECT_EQ(book->entries[0].lock, 0x63240u);
  EXPECT_EQ(book->entries[0].move, 0x85B5);
  EXPECT_EQ(book->entries[0].weight, 6);

  std::vector<uint8_t> tooMany(8 * (BOOK_CAPACITY + 3), 0);
  tooMany[8 * BOOK_CAPACITY - 8] = 0x11;  // last entry kept
  tooMany[8 * BOOK_CAPACITY] = 0x22;      // first entry cut
  ReadBook(*book, tooMany);
  EXPECT_EQ(book->bookSize, BOOK_CAPACITY);
  EXPECT_EQ(book->entries[BOOK_CAPACITY - 1].lock, 0x11u);
}

// The build embeds resources/book.dat; the two must agree, and the start
// position must carry its sixteen moves in stored order.
TEST(EmbeddedBook, IsTheShippedFileWithTheStartRow) {
  std::ifstream in(std::string(LANTERRA_RESOURCE_DIR) + "book.dat", std::ios::binary);
  ASSERT_TRUE(in) << "resources/book.dat missing";
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::span<const uint8_t> embedded = EmbeddedBookData();
  ASSERT_EQ(std::vector<uint8_t>(embedded.begin(), embedded.end()), file);

  auto book = std::make_unique<Book>();
  ReadBook(*book, embedded);
  uint32_t startLock = LockOf(FromFen(START_FEN));
  ASSERT_EQ(startLock, 0x052656D5u);
  std::vector<BookEntry> start;
  for (int i = 0; i < book->bookSize; ++i)
    if (book->entries[i].lock == startLock) start.push_back(book->entries[i]);
  ASSERT_EQ(start.size(), 16u);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(start[i].move, START_BOOK_MOVES[i].move) << i;
    EXPECT_EQ(start[i].weight, START_BOOK_MOVES[i].weight) << i;
  }
  EXPECT_EQ(start[0].move, 0x8595);
  EXPECT_EQ(start[8].weight, 1473);

  BookCheck check = CheckBook({book->entries, size_t(book->bookSize)});
  EXPECT_EQ(check.orderFaults, 0);
  EXPECT_EQ(check.illegalMoves, 0);
  EXPECT_EQ(check.reachable, check.entries);
  EXPECT_GE(check.entries, 10000);
}

}  // namespace
}  // namespace lanterra
