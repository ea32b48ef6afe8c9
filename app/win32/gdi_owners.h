// RAII owners for the GDI and USER handles the drawing code creates, so every
// surface, bitmap and selection is given back on every path.
#pragma once

#include <windows.h>

namespace lanterra::win32 {

// A window's drawing surface from GetDC, released with ReleaseDC.
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory surface compatible with another, deleted with DeleteDC.
class ScopedMemoryDc {
 public:
  explicit ScopedMemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~ScopedMemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  ScopedMemoryDc(const ScopedMemoryDc&) = delete;
  ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// A bitmap this code created, deleted with DeleteObject. Shared bitmaps
// loaded from resources are never wrapped: they live as long as the process.
class ScopedBitmap {
 public:
  explicit ScopedBitmap(HBITMAP bitmap) : bitmap_(bitmap) {}
  ~ScopedBitmap() {
    if (bitmap_) DeleteObject(bitmap_);
  }
  ScopedBitmap(const ScopedBitmap&) = delete;
  ScopedBitmap& operator=(const ScopedBitmap&) = delete;
  operator HBITMAP() const { return bitmap_; }

 private:
  HBITMAP bitmap_;
};

// Selects an object into a surface and puts the previous one back. A bitmap
// can be selected into only one surface at a time, so no drawing call leaves
// one selected behind it: a repaint while a game-over box is open must be
// able to select the board and the pieces again.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelect() {
    if (previous_) SelectObject(dc_, previous_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// What one drawing operation paints through: the window's drawing surface
// and a memory surface compatible with it, the scratch surface that holds
// each picture on its way to the window. Members are destroyed in reverse:
// the scratch surface goes before the window's surface is released.
struct DrawingSurfaces {
  explicit DrawingSurfaces(HWND window) : paint(window), scratch(paint) {}
  ScopedWindowDc paint;
  ScopedMemoryDc scratch;
};

}  // namespace lanterra::win32
