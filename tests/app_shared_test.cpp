// What the window and the page share besides the game: the click mapping,
// the cell geometry, the percent-encoding of the web addresses and the
// quotations.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/board_geometry.h"
#include "app/menu_texts.h"
#include "app/web_links.h"

namespace lanterra {
namespace {

TEST(ClickMapping, PixelsToSquares) {
  struct Case {
    unsigned x, y;
    int rank, file;  // 0: no square
  } cases[] = {
      {0, 0, 3, 3},        // the left and top margins belong to the first cell
      {7, 7, 3, 3},
      {63, 63, 3, 3},      // last pixel of the first cell
      {64, 64, 4, 4},
      {511, 567, 12, 11},  // last pixel of the last cell
      {512, 100, 0, 0},    // right margin
      {100, 568, 0, 0},    // bottom margin
      {519, 575, 0, 0},
      {0xFFFF, 10, 0, 0},  // a negative coordinate read unsigned
      {0x1000A, 10, 3, 3}, // only the low 16 bits count
  };
  for (const Case& c : cases) {
    const Square expected = c.rank ? SquareAt(c.rank, c.file) : 0;
    EXPECT_EQ(ScreenSquareAt(c.x, c.y), expected) << c.x << "," << c.y;
  }
}

TEST(CellGeometry, FlippedBoardPutsTheFarCornerTopLeft) {
  EXPECT_EQ(DisplayedSquare(SquareAt(12, 11), true), SquareAt(3, 3));
  const CellPoint topLeft = CellOrigin(DisplayedSquare(SquareAt(3, 3), false));
  EXPECT_EQ(topLeft.x, 8);
  EXPECT_EQ(topLeft.y, 8);
  const CellPoint flipped = CellOrigin(DisplayedSquare(SquareAt(3, 3), true));
  EXPECT_EQ(flipped.x, 456);
  EXPECT_EQ(flipped.y, 512);
}

TEST(CellGeometry, ClickingACellCentreFindsTheSquareDrawnThere) {
  EXPECT_EQ(std::set<Square>(PAINT_ORDER.begin(), PAINT_ORDER.end()).size(), PAINT_ORDER.size());
  for (bool flipped : {false, true}) {
    for (const Square sq : PAINT_ORDER) {
      const CellPoint cell = CellOf(sq, flipped);
      const Square shown = ScreenSquareAt(cell.x + CELL_SIZE / 2, cell.y + CELL_SIZE / 2);
      EXPECT_EQ(DisplayedSquare(shown, flipped), sq);
    }
  }
}

TEST(WebLinks, PercentEncodingKeepsOnlyUnreservedBytes) {
  EXPECT_EQ(PercentEncode("aZ09-._~"), "aZ09-._~");
  EXPECT_EQ(PercentEncode("a b&c=d/?"), "a%20b%26c%3Dd%2F%3F");
  EXPECT_EQ(PercentEncode("\xbe\xab"), "%BE%AB");  // GBK bytes of one character
  EXPECT_EQ(PercentEncode(""), "");
}

TEST(Texts, QuotesEndWithTwentyIdeographicSpacesAndTheAttribution) {
  const std::string ideographicSpaces = [] {
    std::string s;
    for (int i = 0; i < 20; ++i) s += "\xa1\xa1";  // U+3000 in GBK
    return s;
  }();
  for (const char* quote : QUOTES) {
    const std::string text = quote;
    const size_t gap = text.find("\n\n" + ideographicSpaces + "\xa1\xaa\xa1\xaa\xa1\xb6");  // ——《
    EXPECT_NE(gap, std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("\xa1\xb7")) << text;  // 》
  }
}

}  // namespace
}  // namespace lanterra
