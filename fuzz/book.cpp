// The input as an opening book file: read as the game reads its book,
// checked as "lanterra book verify" checks it, and looked up along the
// lines it leads to from the start. Reading keeps every whole entry up to
// the capacity; every move a lookup offers fits its position, and the moves
// the engine and the match's openings play from it are legal.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "book/book_builder.h"
#include "engine/book.h"
#include "engine/engine.h"
#include "fuzz/fuzz_support.h"
#include "match/book_openings.h"

using namespace lanterra;

namespace {

void CheckChoices(const Book& book, const Position& pos) {
  BookChoices choices;
  FindBookChoices(book, pos, choices);
  fuzz::Check(choices.first <= choices.last && choices.last <= book.bookSize, "the run lies inside the book");
  fuzz::Check(choices.count <= choices.last - choices.first, "no more moves than entries in the run");
  int total = 0;
  for (int i = 0; i < choices.count; ++i) {
    fuzz::Check(choices.entry[i] >= choices.first && choices.entry[i] < choices.last, "a kept entry is in the run");
    fuzz::Check(BookMoveFits(pos, choices.move[i]), "a kept move fits the position");
    total += book.entries[choices.entry[i]].weight;
  }
  fuzz::Check(total == choices.total, "the total is the kept moves' weights");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);

  // 1. Reading: every whole entry up to the capacity, each as written.
  auto book = std::make_unique<Book>();
  ReadBook(*book, bytes);
  fuzz::Check(size_t(book->bookSize) == std::min<size_t>(size / 8, BOOK_CAPACITY), "every whole entry is read");
  const std::span<const BookEntry> entries(book->entries, size_t(book->bookSize));
  const std::vector<uint8_t> encoded = EncodeBook(entries);
  fuzz::Check(std::equal(encoded.begin(), encoded.end(), bytes.begin()), "the entries encode back to the bytes");

  // 2. The check of book verify.
  const BookCheck check = CheckBook(entries);
  fuzz::Check(check.entries == book->bookSize && check.reachable <= check.entries &&
                  check.positions <= check.entries && (check.entries == 0) == (check.positions == 0),
              "the book check counts within the book");

  // 3. Lookups along a line the book leads to from the start, and where the
  //    line ends with a move on offer, the engine's decision there: making
  //    an engine takes milliseconds, spent only where its book step has
  //    something to judge.
  Position pos;
  pos.SetUpStart(0);
  PseudoRandom random;
  bool offered = false;
  for (int ply = 0; ply < 12; ++ply) {
    CheckChoices(*book, pos);
    const Move mv = LookupBook(*book, pos, random);
    offered = mv != 0;
    if (mv == 0) break;
    fuzz::Check(BookMoveFits(pos, mv), "a book move fits the position");
    // A move that leaves the mover's king attacked fits but does not play.
    if (!PlayLongGameMove(pos, mv)) break;
  }
  if (offered) {
    Engine engine(bytes, 1);
    const Move decided = engine.Decide(pos, {1, 0}).move;
    Move legal[MAX_MOVES_PER_POSITION];
    fuzz::Check(decided ? fuzz::IsLegal(pos, decided) : LegalMoves(pos, legal) == 0,
                "the engine plays a legal move, from the book or not");
  }

  // 4. The match's openings.
  for (const std::vector<Move>& line : BookOpenings(*book, 2, 6, 1)) {
    Position game;
    game.SetUpStart(0);
    for (Move mv : line) fuzz::Check(fuzz::IsLegal(game, mv) && PlayLongGameMove(game, mv), "an opening plays");
  }
  return 0;
}
