#include <gtest/gtest.h>

#include <cstring>

#include "tests/test_positions.h"

namespace lanterra {
namespace {

TEST(Fen, RoundTripsAndReadsAliases) {
  for (const char* fen : {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1",
                          "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 b - - 0 1"}) {
    Position pos = test::FromFen(fen);
    EXPECT_EQ(ToFen(pos), fen);
  }
  Position aliases = test::FromFen("rheakaehr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RHEAKAEHR");
  EXPECT_EQ(ToFen(aliases), START_FEN);
}

TEST(Fen, MalformedInputIsRefusedAndChangesNothing) {
  const char* bad[] = {
      "",
      "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9 w",             // 9 ranks
      "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR/9 w", // 11 ranks
      "rnbakabnr/9/1c5c2/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w",   // 10 files
      "rnbakabnr/9/1c5c/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w",    // 8 files
      "rnbakabnr/9/1c5x1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w",   // unknown letter
      "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR x",   // side
      "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBA1ABNR w",   // no red king
      "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/KNBA1ABNR w",   // king outside the palace
      "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/R8/RNBAKABNR w",  // three rooks
      "4k4/9/9/9/9/9/9/9/9/4K4 w",                                      // kings facing
      "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1 extra",
      "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKAB\xffR w",
  };
  for (const char* fen : bad) {
    Position pos;
    pos.SetUpStart(2);
    const Position before = pos;
    std::string error;
    EXPECT_FALSE(ParseFen(fen, pos, error)) << fen;
    EXPECT_FALSE(error.empty()) << fen;
    EXPECT_EQ(std::memcmp(&pos, &before, sizeof pos), 0) << fen;
  }
}

TEST(Iccs, MapsOntoSquares) {
  EXPECT_EQ(ParseIccsMove("h2e2"), MoveOf(0xAA, 0xA7));
  EXPECT_EQ(ParseIccsMove("h2-e2"), MoveOf(0xAA, 0xA7));
  EXPECT_EQ(ParseIccsSquare("a0"), 0xC3);
  EXPECT_EQ(ParseIccsSquare("i9"), 0x3B);
  EXPECT_EQ(IccsMove(MoveOf(0xAA, 0xA7)), "h2e2");
  for (const char* bad : {"", "h2", "h2e", "j2e2", "h2e:", "h2h2", "h2e2x", "h2xe2"}) EXPECT_EQ(ParseIccsMove(bad), 0) << bad;
}

}  // namespace
}  // namespace lanterra
