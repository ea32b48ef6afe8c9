// The portable parts of the Windows program: the click mapping, the cell
// geometry and the web addresses.
#include <gtest/gtest.h>

#include <string>

#include "app/win32/board_geometry.h"
#include "app/win32/resource_ids.h"
#include "app/win32/texts.h"
#include "app/win32/web_links.h"

namespace lanterra::win32 {
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
  for (bool flipped : {false, true}) {
    for (int rank = FIRST_RANK; rank <= LAST_RANK; ++rank) {
      for (int file = FIRST_FILE; file <= LAST_FILE; ++file) {
        const Square shown = DisplayedSquare(SquareAt(rank, file), flipped);
        const CellPoint cell = CellOrigin(shown);
        EXPECT_EQ(ScreenSquareAt(cell.x + CELL_SIZE / 2, cell.y + CELL_SIZE / 2), shown);
        EXPECT_EQ(DisplayedSquare(shown, flipped), SquareAt(rank, file));
      }
    }
  }
}

TEST(WebLinks, PercentEncodingKeepsOnlyUnreservedBytes) {
  EXPECT_EQ(PercentEncode("aZ09-._~"), "aZ09-._~");
  EXPECT_EQ(PercentEncode("a b&c=d/?"), "a%20b%26c%3Dd%2F%3F");
  EXPECT_EQ(PercentEncode("\xbe\xab"), "%BE%AB");  // GBK bytes of one character
  EXPECT_EQ(PercentEncode(""), "");
}

bool IsValidAddress(const std::string& address) {
  for (unsigned char c : address) {
    if (c <= ' ' || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\') return false;
  }
  return address.starts_with("http://") || address.starts_with("https://");
}

TEST(WebLinks, EveryPageHasAValidAddressWithItsPathAndQuery) {
  const std::string title = PercentEncode(RECOMMENDATION_TITLE);
  const std::string page = PRODUCT_PAGE;
  struct Case {
    int id;
    std::string tail;
  } cases[] = {
      {IDC_SHARE_QZONE, "/cgi-bin/qzshare/cgi_qzshare_onekey?url=" + page},
      {IDC_SHARE_WEIBO, "/share/share.php?title=" + title + "&url=" + page},
      {IDC_SHARE_KAIXIN, "/~repaste/repaste.php?rtitle=" + title + "%20%20%20%20&rcontent=" + title +
                             "%20%20%20%20&rurl=" + page},
      {IDC_SHARE_RENREN, "/share/buttonshare.do?link=" + page},
      {IDC_LATEST_VERSION, "/velmora/update_torvin2010.htm"},
      {IDC_MAKER_HOME, ".example/"},
      {IDC_SIBLING_PRODUCT, "/velmora/velmora.htm"},
      {IDC_FEEDBACK, "/users/?act=suggest&referer=torvin"},
  };
  for (const Case& c : cases) {
    const std::string address = WebAddress(c.id);
    EXPECT_TRUE(IsValidAddress(address)) << address;
    EXPECT_TRUE(address.ends_with(c.tail)) << address;
  }
  EXPECT_TRUE(title.starts_with("Lanterra%20-%20%BE%AB%C7%C9")) << title;
  EXPECT_EQ(WebAddress(IDC_COPY_RECOMMENDATION), "");
  EXPECT_EQ(WebAddress(IDC_ABOUT), "");
}

TEST(WebLinks, RecommendationIsTitleSpaceCrLfAndPage) {
  EXPECT_EQ(RecommendationText(), std::string(RECOMMENDATION_TITLE) + " \r\n" + PRODUCT_PAGE);
  EXPECT_TRUE(IsValidAddress(PRODUCT_PAGE));
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
}  // namespace lanterra::win32
