// Drawing the board, the pieces of the current position and the selection
// frames, all at once or one cell at a time.
#include "app/board_geometry.h"
#include "app/win32/gdi_owners.h"
#include "app/win32/win32_app.h"

namespace lanterra::win32 {

namespace {

// Wherever a piece or frame picture is pure green, the board shows through.
constexpr COLORREF KEY_COLOUR = RGB(0, 255, 0);

}  // namespace

void TransparentBlit(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                     int sourceY, int sourceWidth, int sourceHeight, COLORREF keyColour) {
  // Declaration order matters: the selections are undone before the
  // surfaces are deleted, and the surfaces before their bitmaps.
  ScopedBitmap colourBitmap{CreateCompatibleBitmap(target, width, height)};
  ScopedBitmap maskBitmap{CreateBitmap(width, height, 1, 1, nullptr)};
  ScopedMemoryDc colourDc{target};
  ScopedMemoryDc maskDc{target};
  ScopedSelect colourSelection{colourDc, colourBitmap};
  ScopedSelect maskSelection{maskDc, maskBitmap};

  if (width == sourceWidth && height == sourceHeight) {
    BitBlt(colourDc, 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
  } else {
    StretchBlt(colourDc, 0, 0, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight,
               SRCCOPY);
  }

  // Copying colour to monochrome gives 1 where a pixel equals the background
  // colour: the mask is set exactly on the key pixels.
  SetBkColor(colourDc, keyColour);
  BitBlt(maskDc, 0, 0, width, height, colourDc, 0, 0, SRCCOPY);

  // Monochrome to colour maps 1 to the background and 0 to the text colour.
  // Black the key pixels of the picture so that OR-ing it later adds nothing
  // there.
  SetBkColor(colourDc, RGB(0, 0, 0));
  SetTextColor(colourDc, RGB(255, 255, 255));
  BitBlt(colourDc, 0, 0, width, height, maskDc, 0, 0, SRCAND);

  // Black the target where the picture is opaque, keep it under key pixels,
  // then OR the picture in.
  SetBkColor(target, RGB(255, 255, 255));
  SetTextColor(target, RGB(0, 0, 0));
  BitBlt(target, x, y, width, height, maskDc, 0, 0, SRCAND);
  BitBlt(target, x, y, width, height, colourDc, 0, 0, SRCPAINT);
}

void DrawSprite(HDC target, HDC scratch, int x, int y, HBITMAP bitmap) {
  ScopedSelect selection{scratch, bitmap};
  TransparentBlit(target, x, y, CELL_SIZE, CELL_SIZE, scratch, 0, 0, CELL_SIZE, CELL_SIZE, KEY_COLOUR);
}

void PaintBoard(HDC target, const Application& app) {
  const Win32Handles& h = app.handles;
  const UiState& ui = app.game->Ui();
  const Position& position = app.game->CurrentPosition();

  ScopedMemoryDc memory{target};
  {
    ScopedSelect selection{memory, h.boardBitmap};
    BitBlt(target, 0, 0, CLIENT_WIDTH, CLIENT_HEIGHT, memory, 0, 0, SRCCOPY);
  }
  for (const Square sq : PAINT_ORDER) {
    const CellPoint cell = CellOf(sq, ui.flipped);
    const PieceCode piece = position.squares[sq];
    if (piece != 0) DrawSprite(target, memory, cell.x, cell.y, h.pieceBitmaps[piece]);
    if (ui.IsFramed(sq)) DrawSprite(target, memory, cell.x, cell.y, h.frameBitmap);
  }
}

void PaintSquare(const DrawingSurfaces& surfaces, const Application& app, Square sq, bool framed) {
  const Win32Handles& h = app.handles;
  const CellPoint cell = CellOf(sq, app.game->Ui().flipped);
  {
    // Bare board first, so a piece that left the cell leaves no trace.
    ScopedSelect selection{surfaces.scratch, h.boardBitmap};
    BitBlt(surfaces.paint, cell.x, cell.y, CELL_SIZE, CELL_SIZE, surfaces.scratch, cell.x, cell.y, SRCCOPY);
  }
  const PieceCode piece = app.game->CurrentPosition().squares[sq];
  if (piece != 0) DrawSprite(surfaces.paint, surfaces.scratch, cell.x, cell.y, h.pieceBitmaps[piece]);
  if (framed) DrawSprite(surfaces.paint, surfaces.scratch, cell.x, cell.y, h.frameBitmap);
}

}  // namespace lanterra::win32
