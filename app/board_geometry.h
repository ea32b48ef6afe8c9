// Where each board square sits on the shown board and which square a click
// hits, in the pixels of the board picture. The window's client area and the
// page's canvas are both that picture, so both use these numbers.
#pragma once

#include <array>

#include "rules/types.h"

namespace lanterra {

// The client area is exactly the board picture.
inline constexpr int CLIENT_WIDTH = 520;
inline constexpr int CLIENT_HEIGHT = 576;
// Nine columns and ten rows of cells, 8 pixels in from the left and top.
inline constexpr int CELL_SIZE = 56;
inline constexpr int BOARD_MARGIN = 8;
inline constexpr int FIRST_FILE = 3, LAST_FILE = 11;
inline constexpr int FIRST_RANK = 3, LAST_RANK = 12;

static_assert(BOARD_MARGIN + 9 * CELL_SIZE <= CLIENT_WIDTH);
static_assert(BOARD_MARGIN + 10 * CELL_SIZE <= CLIENT_HEIGHT);

struct CellPoint {
  int x;
  int y;
};

// The square drawn at a board square's place: with the human on black the
// board is turned by half a turn, so the human's pieces stay at the bottom.
constexpr Square DisplayedSquare(Square sq, bool flipped) { return flipped ? FlipSquare(sq) : sq; }

// Top-left corner of the cell of a displayed square.
constexpr CellPoint CellOrigin(Square displayed) {
  return {CELL_SIZE * FileOf(displayed) - 160, CELL_SIZE * RankOf(displayed) - 160};
}
static_assert(CellOrigin(SquareAt(FIRST_RANK, FIRST_FILE)).x == BOARD_MARGIN);
static_assert(CellOrigin(SquareAt(LAST_RANK, LAST_FILE)).y == BOARD_MARGIN + 9 * CELL_SIZE);

// Top-left corner of the cell that shows a board square.
constexpr CellPoint CellOf(Square sq, bool flipped) { return CellOrigin(DisplayedSquare(sq, flipped)); }

// The 90 board squares in the order a whole board is painted: file by file
// from the left, each file from the top rank down.
inline constexpr std::array<Square, 90> PAINT_ORDER = [] {
  std::array<Square, 90> squares{};
  int n = 0;
  for (int file = FIRST_FILE; file <= LAST_FILE; ++file) {
    for (int rank = FIRST_RANK; rank <= LAST_RANK; ++rank) squares[n++] = SquareAt(rank, file);
  }
  return squares;
}();

// The displayed square under a client point (the 16-bit coordinates of a
// mouse message, taken unsigned), or 0 outside the grid. The division
// truncates toward zero, so the 8-pixel margin at the left and top belongs
// to the first column and row, while the right and bottom margins belong to
// no cell.
constexpr Square ScreenSquareAt(unsigned x, unsigned y) {
  const int file = FIRST_FILE + (int(x & 0xFFFF) - BOARD_MARGIN) / CELL_SIZE;
  const int rank = FIRST_RANK + (int(y & 0xFFFF) - BOARD_MARGIN) / CELL_SIZE;
  if (file < FIRST_FILE || file > LAST_FILE || rank < FIRST_RANK || rank > LAST_RANK) return 0;
  return SquareAt(rank, file);
}

}  // namespace lanterra
