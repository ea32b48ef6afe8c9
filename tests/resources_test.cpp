// Checks the committed pictures, icons and sounds against what the game relies
// on when it loads and draws them: LoadImage-readable 8-bit bitmaps of the
// right sizes, pieces and frame cut out with the exact key colour, icons with
// the sizes the window and message boxes ask for, and short, unclipped PCM
// sounds.  The files are produced by resources/make-resources.sh.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "app/resource_ids.h"

#ifndef LANTERRA_RESOURCE_DIR
#error "LANTERRA_RESOURCE_DIR must name the resources/ folder, ending in a slash"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadResource(const std::string& relative) {
  std::ifstream in(std::string(LANTERRA_RESOURCE_DIR) + relative, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint16_t U16(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t U32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::int32_t I32(const Bytes& b, std::size_t at) { return static_cast<std::int32_t>(U32(b, at)); }
bool Tag(const Bytes& b, std::size_t at, const char* tag) {
  return b.size() >= at + 4 && std::memcmp(b.data() + at, tag, 4) == 0;
}

// ------------------------------------------------------------- bitmaps ----

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};
constexpr Rgb KEY{0, 255, 0};
constexpr Rgb FRAME_BLUE{0, 0, 255};

// Colours that a 15- or 16-bit display could round onto the key colour, or
// that a player would see as a green fringe.
bool Greenish(Rgb c) { return c.g >= 128 && c.g > c.r + 48 && c.g > c.b + 48; }

// An uncompressed 8-bit palette bitmap, pixels kept top row first.
struct Bitmap {
  int width = 0, height = 0;
  std::vector<Rgb> palette;
  std::vector<std::uint8_t> index;
  Rgb At(int x, int y) const { return palette[index[static_cast<std::size_t>(y) * width + x]]; }
};

::testing::AssertionResult ParseBitmap(const Bytes& b, Bitmap& out) {
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return ::testing::AssertionFailure() << "not a BMP file";
  if (U32(b, 2) != b.size()) return ::testing::AssertionFailure() << "file size field " << U32(b, 2) << " != " << b.size();
  const std::uint32_t offset = U32(b, 10);
  if (U32(b, 14) != 40) return ::testing::AssertionFailure() << "header size " << U32(b, 14) << ", want BITMAPINFOHEADER";
  const std::int32_t width = I32(b, 18), height = I32(b, 22);
  if (U16(b, 26) != 1) return ::testing::AssertionFailure() << "planes " << U16(b, 26);
  if (U16(b, 28) != 8) return ::testing::AssertionFailure() << U16(b, 28) << " bits per pixel, want 8";
  if (U32(b, 30) != 0) return ::testing::AssertionFailure() << "compression " << U32(b, 30) << ", want BI_RGB";
  if (width <= 0 || height == 0) return ::testing::AssertionFailure() << "size " << width << "x" << height;
  const std::uint32_t colours = U32(b, 46) == 0 ? 256 : U32(b, 46);
  if (colours > 256) return ::testing::AssertionFailure() << colours << " palette entries";
  if (offset < 54 + 4 * colours) return ::testing::AssertionFailure() << "pixels overlap the palette";
  const std::size_t stride = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
  const int rows = std::abs(height);
  if (offset + stride * rows > b.size()) return ::testing::AssertionFailure() << "pixel data runs past the file";

  out.width = width;
  out.height = rows;
  out.palette.clear();
  for (std::uint32_t i = 0; i < colours; ++i) {
    const std::size_t p = 54 + 4 * i;
    out.palette.push_back({b[p + 2], b[p + 1], b[p]});
  }
  out.index.assign(static_cast<std::size_t>(width) * rows, 0);
  for (int y = 0; y < rows; ++y) {
    const int stored = height > 0 ? rows - 1 - y : y;  // positive height: bottom row first
    for (int x = 0; x < width; ++x) {
      const std::uint8_t i = b[offset + stride * stored + x];
      if (i >= colours) return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") uses palette entry " << int(i);
      out.index[static_cast<std::size_t>(y) * width + x] = i;
    }
  }
  return ::testing::AssertionSuccess();
}

enum class Kind { Board, Frame, RedPiece, BlackPiece };

struct BitmapCase {
  int id;
  const char* file;
  Kind kind;
};

const BitmapCase BITMAPS[] = {
    {IDB_BOARD, "bitmaps/board.bmp", Kind::Board},
    {IDB_FRAME, "bitmaps/frame.bmp", Kind::Frame},
    {IDB_RED_KING, "bitmaps/red-king.bmp", Kind::RedPiece},
    {IDB_RED_ADVISOR, "bitmaps/red-advisor.bmp", Kind::RedPiece},
    {IDB_RED_BISHOP, "bitmaps/red-bishop.bmp", Kind::RedPiece},
    {IDB_RED_KNIGHT, "bitmaps/red-knight.bmp", Kind::RedPiece},
    {IDB_RED_ROOK, "bitmaps/red-rook.bmp", Kind::RedPiece},
    {IDB_RED_CANNON, "bitmaps/red-cannon.bmp", Kind::RedPiece},
    {IDB_RED_PAWN, "bitmaps/red-pawn.bmp", Kind::RedPiece},
    {IDB_BLACK_KING, "bitmaps/black-king.bmp", Kind::BlackPiece},
    {IDB_BLACK_ADVISOR, "bitmaps/black-advisor.bmp", Kind::BlackPiece},
    {IDB_BLACK_BISHOP, "bitmaps/black-bishop.bmp", Kind::BlackPiece},
    {IDB_BLACK_KNIGHT, "bitmaps/black-knight.bmp", Kind::BlackPiece},
    {IDB_BLACK_ROOK, "bitmaps/black-rook.bmp", Kind::BlackPiece},
    {IDB_BLACK_CANNON, "bitmaps/black-cannon.bmp", Kind::BlackPiece},
    {IDB_BLACK_PAWN, "bitmaps/black-pawn.bmp", Kind::BlackPiece},
};

void PrintTo(const BitmapCase& c, std::ostream* os) { *os << c.file; }

bool IsPiece(Kind k) { return k == Kind::RedPiece || k == Kind::BlackPiece; }

Bitmap LoadBitmap(const BitmapCase& c) {
  Bitmap bm;
  const Bytes bytes = ReadResource(c.file);
  EXPECT_TRUE(ParseBitmap(bytes, bm)) << c.file;
  return bm;
}

std::vector<BitmapCase> Pieces() {
  std::vector<BitmapCase> pieces;
  for (const BitmapCase& c : BITMAPS)
    if (IsPiece(c.kind)) pieces.push_back(c);
  return pieces;
}

const BitmapCase& Only(Kind kind) {
  return *std::find_if(std::begin(BITMAPS), std::end(BITMAPS), [&](const BitmapCase& c) { return c.kind == kind; });
}

std::string CaseName(const ::testing::TestParamInfo<BitmapCase>& info) { return "id" + std::to_string(info.param.id); }

class BitmapTest : public ::testing::TestWithParam<BitmapCase> {};

TEST_P(BitmapTest, IsAnEightBitPictureOfTheCellOrBoardSize) {
  const Bitmap bm = LoadBitmap(GetParam());
  const bool board = GetParam().kind == Kind::Board;
  EXPECT_EQ(bm.width, board ? 520 : 56);
  EXPECT_EQ(bm.height, board ? 576 : 56);
}

// A piece is a disc: opaque and free of green inside, key colour outside, so
// the board shows round it and nothing of the board shows through it.
INSTANTIATE_TEST_SUITE_P(Resources, BitmapTest, ::testing::ValuesIn(BITMAPS), CaseName);

class PieceTest : public ::testing::TestWithParam<BitmapCase> {};

TEST_P(PieceTest, IsAnOpaqueDiscOnTheKeyColour) {
  const Bitmap bm = LoadBitmap(GetParam());
  ASSERT_EQ(bm.width, 56);
  ASSERT_EQ(bm.height, 56);
  int opaque = 0;
  for (int y = 0; y < 56; ++y) {
    for (int x = 0; x < 56; ++x) {
      const Rgb c = bm.At(x, y);
      const double d = std::hypot(x + 0.5 - 28, y + 0.5 - 28);
      if (c == KEY) {
        EXPECT_GT(d, 22) << "hole in the piece at (" << x << "," << y << ")";
        continue;
      }
      ++opaque;
      EXPECT_FALSE(Greenish(c)) << "near-key colour " << c.r << "," << c.g << "," << c.b << " at (" << x << "," << y << ")";
      EXPECT_LT(d, 28.5) << "opaque pixel outside the disc at (" << x << "," << y << ")";
    }
  }
  const double pi = std::acos(-1.0);
  EXPECT_GT(opaque, pi * 24 * 24) << "disc too small";
}

// Red pieces carry red lettering, black pieces none: catches swapped files.
TEST_P(PieceTest, InkMatchesItsSide) {
  const Bitmap bm = LoadBitmap(GetParam());
  int red = 0, dark = 0;
  for (int y = 0; y < bm.height; ++y) {
    for (int x = 0; x < bm.width; ++x) {
      const Rgb c = bm.At(x, y);
      if (c.r > 140 && c.g < 70 && c.b < 70) ++red;
      if (c.r < 70 && c.g < 70 && c.b < 70) ++dark;
    }
  }
  if (GetParam().kind == Kind::RedPiece) {
    EXPECT_GT(red, 60);
    EXPECT_LT(dark, 10);
  } else {
    EXPECT_GT(dark, 60);
    EXPECT_EQ(red, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Resources, PieceTest, ::testing::ValuesIn(Pieces()), CaseName);

// The frame is drawn over pieces: only blue corners and the key colour, with
// the middle left clear so the piece's lettering stays visible.
TEST(FrameBitmap, IsBlueCornersOnTheKeyColour) {
  const Bitmap bm = LoadBitmap(Only(Kind::Frame));
  ASSERT_EQ(bm.width, 56);
  for (int y = 0; y < bm.height; ++y) {
    for (int x = 0; x < bm.width; ++x) {
      const Rgb c = bm.At(x, y);
      EXPECT_TRUE(c == KEY || c == FRAME_BLUE) << "colour " << c.r << "," << c.g << "," << c.b << " at (" << x << "," << y << ")";
      if (std::hypot(x + 0.5 - 28, y + 0.5 - 28) < 21) {
        EXPECT_EQ(c, KEY) << "frame reaches into the middle at (" << x << "," << y << ")";
      }
    }
  }
  for (auto [x, y] : {std::pair{3, 3}, std::pair{52, 3}, std::pair{3, 52}, std::pair{52, 52}}) {
    EXPECT_EQ(bm.At(x, y), FRAME_BLUE) << "corner (" << x << "," << y << ")";
  }
}

// Pieces are drawn centred on the grid's points (x = 36 + 56 (file - 3),
// y = 36 + 56 (rank - 3)): every point must lie on dark lines.
TEST(BoardBitmap, GridPointsLieWherePiecesAreDrawn) {
  const Bitmap bm = LoadBitmap(Only(Kind::Board));
  ASSERT_EQ(bm.width, 520);
  ASSERT_EQ(bm.height, 576);
  auto luma = [&](int x, int y) {
    const Rgb c = bm.At(x, y);
    return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
  };
  double sum = 0;
  for (int y = 0; y < 576; ++y)
    for (int x = 0; x < 520; ++x) sum += luma(x, y);
  const double mean = sum / (520.0 * 576.0);
  for (int file = 3; file <= 11; ++file) {
    for (int rank = 3; rank <= 12; ++rank) {
      const int x = 36 + 56 * (file - 3), y = 36 + 56 * (rank - 3);
      // the point sits between four pixels; a line of any width covers them
      const double darkest = std::min({luma(x - 1, y - 1), luma(x, y - 1), luma(x - 1, y), luma(x, y)});
      EXPECT_LT(darkest, mean - 60) << "no line at file " << file << " rank " << rank;
      // halfway to the next point across, inside a cell, the wood shows
      if (file < 11 && rank != 7) {
        EXPECT_GT(luma(x + 28, y + 14), mean - 60) << "cell right of file " << file << " rank " << rank;
      }
    }
  }
  for (const Rgb& c : bm.palette) EXPECT_NE(c, KEY) << "the board needs no key colour";
}

// All pieces share one outline, so a frame or the board around a piece looks
// the same whichever piece it is.
TEST(PieceBitmaps, ShareOneOutline) {
  std::vector<bool> first;
  for (const BitmapCase& c : BITMAPS) {
    if (!IsPiece(c.kind)) continue;
    const Bitmap bm = LoadBitmap(c);
    std::vector<bool> mask;
    for (int y = 0; y < bm.height; ++y)
      for (int x = 0; x < bm.width; ++x) mask.push_back(bm.At(x, y) == KEY);
    if (first.empty()) first = mask;
    ASSERT_EQ(mask.size(), first.size()) << c.file;
    int differ = 0;
    for (std::size_t i = 0; i < mask.size(); ++i) differ += mask[i] != first[i];
    EXPECT_EQ(differ, 0) << c.file << " differs from the first piece's outline";
  }
}

// --------------------------------------------------------------- icons ----

struct IconCase {
  int id;
  const char* file;
  std::set<int> sizes;
};

const IconCase ICONS[] = {
    {IDI_PROGRAM, "icons/lanterra.ico", {16, 32, 48}},
    {IDI_QUOTE, "icons/quote.ico", {16, 32}},
    {IDI_RESULT_WIN, "icons/win.ico", {32}},
    {IDI_RESULT_DRAW, "icons/draw.ico", {32}},
    {IDI_RESULT_LOSS, "icons/loss.ico", {32}},
};

void PrintTo(const IconCase& c, std::ostream* os) { *os << c.file; }

class IconTest : public ::testing::TestWithParam<IconCase> {};

TEST_P(IconTest, HoldsEachSizeOnceAsAReadableImage) {
  const Bytes b = ReadResource(GetParam().file);
  ASSERT_GE(b.size(), 6u) << GetParam().file;
  EXPECT_EQ(U16(b, 0), 0);
  ASSERT_EQ(U16(b, 2), 1) << "not an icon file";
  const int count = U16(b, 4);
  ASSERT_GE(b.size(), 6u + 16u * count);
  std::multiset<int> sizes;
  for (int i = 0; i < count; ++i) {
    const std::size_t e = 6 + 16 * static_cast<std::size_t>(i);
    const int w = b[e] ? b[e] : 256, h = b[e + 1] ? b[e + 1] : 256;
    EXPECT_EQ(w, h);
    sizes.insert(w);
    const std::uint32_t length = U32(b, e + 8), offset = U32(b, e + 12);
    ASSERT_LE(std::uint64_t{offset} + length, b.size()) << "entry " << i << " runs past the file";
    static const std::uint8_t PNG[] = {0x89, 'P', 'N', 'G'};
    if (std::memcmp(b.data() + offset, PNG, 4) == 0) continue;
    // a DIB: the height counts the colour image and the AND mask
    ASSERT_EQ(U32(b, offset), 40u) << "entry " << i;
    EXPECT_EQ(I32(b, offset + 4), w);
    EXPECT_EQ(I32(b, offset + 8), 2 * h);
    const int bits = U16(b, offset + 14);
    EXPECT_TRUE(bits == 32 || bits == 8 || bits == 4) << bits << " bits";
    if (bits == 32) {  // the picture must not be blank
      const std::size_t pixels = offset + 40;
      ASSERT_LE(pixels + 4u * w * h, b.size());
      int visible = 0;
      for (int p = 0; p < w * h; ++p) visible += b[pixels + 4 * p + 3] > 128;
      EXPECT_GT(visible, w * h / 3) << "entry " << i << " is mostly transparent";
    }
  }
  EXPECT_EQ(sizes, std::multiset<int>(GetParam().sizes.begin(), GetParam().sizes.end()));
}

INSTANTIATE_TEST_SUITE_P(Resources, IconTest, ::testing::ValuesIn(ICONS),
                         [](const auto& info) { return "id" + std::to_string(info.param.id); });

// -------------------------------------------------------------- sounds ----

struct SoundCase {
  int id;
  const char* file;
  double maxSeconds;  // move feedback must be over before the reply lands
};

const SoundCase SOUNDS[] = {
    {IDW_SELECT, "sounds/select.wav", 0.5},
    {IDW_REFUSED, "sounds/refused.wav", 0.5},
    {IDW_HUMAN_MOVE, "sounds/human-move.wav", 0.5},
    {IDW_COMPUTER_MOVE, "sounds/computer-move.wav", 0.5},
    {IDW_HUMAN_CAPTURE, "sounds/human-capture.wav", 0.5},
    {IDW_COMPUTER_CAPTURE, "sounds/computer-capture.wav", 0.5},
    {IDW_HUMAN_CHECK, "sounds/human-check.wav", 0.5},
    {IDW_COMPUTER_CHECK, "sounds/computer-check.wav", 0.5},
    {IDW_WIN, "sounds/win.wav", 1.5},
    {IDW_DRAW, "sounds/draw.wav", 1.5},
    {IDW_LOSS, "sounds/loss.wav", 1.5},
    {IDW_NEW_GAME, "sounds/new-game.wav", 1.5},
};

void PrintTo(const SoundCase& c, std::ostream* os) { *os << c.file; }

struct Wave {
  int rate = 0, bits = 0;
  std::vector<double> samples;  // -1..1
};

::testing::AssertionResult ParseWave(const Bytes& b, Wave& out) {
  if (!Tag(b, 0, "RIFF") || !Tag(b, 8, "WAVE")) return ::testing::AssertionFailure() << "not RIFF/WAVE";
  if (U32(b, 4) + 8 != b.size()) return ::testing::AssertionFailure() << "RIFF size " << U32(b, 4) << " for a file of " << b.size();
  bool haveFormat = false;
  for (std::size_t at = 12; at + 8 <= b.size();) {
    const std::uint32_t size = U32(b, at + 4);
    const std::size_t body = at + 8;
    if (body + size > b.size()) return ::testing::AssertionFailure() << "chunk runs past the file";
    if (Tag(b, at, "fmt ")) {
      if (size < 16) return ::testing::AssertionFailure() << "short fmt chunk";
      if (U16(b, body) != 1) return ::testing::AssertionFailure() << "format tag " << U16(b, body) << ", want PCM";
      if (U16(b, body + 2) != 1) return ::testing::AssertionFailure() << U16(b, body + 2) << " channels, want mono";
      out.rate = static_cast<int>(U32(b, body + 4));
      out.bits = U16(b, body + 14);
      if (out.bits != 8 && out.bits != 16) return ::testing::AssertionFailure() << out.bits << " bits per sample";
      if (U16(b, body + 12) != out.bits / 8) return ::testing::AssertionFailure() << "block align " << U16(b, body + 12);
      if (U32(b, body + 8) != static_cast<std::uint32_t>(out.rate * out.bits / 8))
        return ::testing::AssertionFailure() << "byte rate " << U32(b, body + 8);
      haveFormat = true;
    } else if (Tag(b, at, "data")) {
      if (!haveFormat) return ::testing::AssertionFailure() << "data before fmt";
      const int width = out.bits / 8;
      if (size % width) return ::testing::AssertionFailure() << "data ends inside a sample";
      for (std::size_t p = body; p < body + size; p += width) {
        out.samples.push_back(width == 1 ? (b[p] - 128) / 128.0 : static_cast<std::int16_t>(U16(b, p)) / 32768.0);
      }
    }
    at = body + size + (size & 1);
  }
  if (!haveFormat) return ::testing::AssertionFailure() << "no fmt chunk";
  return ::testing::AssertionSuccess();
}

double PeakDb(const std::vector<double>& s, std::size_t from, std::size_t to) {
  double peak = 1e-9;
  for (std::size_t i = from; i < std::min(to, s.size()); ++i) peak = std::max(peak, std::abs(s[i]));
  return 20 * std::log10(peak);
}

class SoundTest : public ::testing::TestWithParam<SoundCase> {};

TEST_P(SoundTest, IsShortQuietMonoPcmAtElevenKilohertz) {
  Wave w;
  ASSERT_TRUE(ParseWave(ReadResource(GetParam().file), w)) << GetParam().file;
  EXPECT_NEAR(w.rate, 11025, 100);
  ASSERT_FALSE(w.samples.empty());
  const double seconds = static_cast<double>(w.samples.size()) / w.rate;
  EXPECT_LT(seconds, GetParam().maxSeconds);
  EXPECT_GT(seconds, 0.03);
  const std::size_t n = w.samples.size(), ms = static_cast<std::size_t>(w.rate / 1000);
  EXPECT_LT(PeakDb(w.samples, 0, n), -3.0) << "too loud or clipped";
  EXPECT_GT(PeakDb(w.samples, 0, n), -20.0) << "too faint";
  EXPECT_GT(PeakDb(w.samples, 0, 20 * ms), -30.0) << "starts late: the sound must answer the click at once";
  EXPECT_LT(PeakDb(w.samples, n - 5 * ms, n), -30.0) << "ends abruptly: it would click";
}

INSTANTIATE_TEST_SUITE_P(Resources, SoundTest, ::testing::ValuesIn(SOUNDS),
                         [](const auto& info) { return "id" + std::to_string(info.param.id); });

// Every event has its own sound: a copy slipped in for another id would go
// unnoticed by the format checks.
TEST(SoundFiles, AreAllDifferent) {
  std::set<Bytes> seen;
  for (const SoundCase& c : SOUNDS) EXPECT_TRUE(seen.insert(ReadResource(c.file)).second) << c.file;
}

}  // namespace
