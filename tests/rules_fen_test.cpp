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

// One bishop or advisor tried on every point: only the squares its moves can
// reach from its start are accepted, and a refusal names the square.
TEST(Fen, BishopsAndAdvisorsOnlyWhereTheyCanStand) {
  struct Case {
    char letter;
    int accepted;
  };
  for (Case c : {Case{'B', 7}, Case{'b', 7}, Case{'A', 5}, Case{'a', 5}}) {
    int accepted = 0;
    for (int row = 0; row < 10; ++row) {
      for (int col = 0; col < 9; ++col) {
        std::string grid[10];
        for (std::string& line : grid) line = "111111111";
        grid[1][3] = 'k';  // d8 and e0: kings that can stand anywhere else
        grid[9][4] = 'K';
        if (grid[row][col] != '1') continue;
        grid[row][col] = c.letter;
        std::string fen = grid[0];
        for (int r = 1; r < 10; ++r) fen += "/" + grid[r];
        Position pos;
        pos.SetUpStart(2);
        const Position before = pos;
        std::string error;
        if (ParseFen(fen + " w", pos, error)) {
          ++accepted;
          continue;
        }
        std::string square = {char('a' + col), char('0' + 9 - row)};
        EXPECT_NE(error.find(" on " + square), std::string::npos) << fen << ": " << error;
        EXPECT_EQ(std::memcmp(&pos, &before, sizeof pos), 0) << fen;
      }
    }
    EXPECT_EQ(accepted, c.accepted) << c.letter;
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
