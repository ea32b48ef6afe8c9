// The game's bitmaps as the page loads them: PNG pictures of exactly the
// bitmaps' pixels, a quarter of their size. The board is a picture of its
// own; the cell-sized ones (the frame and the pieces) lie side by side in
// one strip, so that the first paint of the board waits for two files
// rather than sixteen. In the strip the key colour, pure green, which the
// window leaves out when it draws a piece, is transparent instead, so the
// browser's own drawing leaves out the same pixels.
import fs from 'node:fs';
import path from 'node:path';
import { decodeBmp } from './bmp.mjs';
import { encodePng } from './png.mjs';

const STRIP = 'bitmaps/cells.png';

function keyedOut(rgba) {
  const out = new Uint8Array(rgba);
  for (let i = 0; i < out.length; i += 4) {
    if (out[i] === 0 && out[i + 1] === 255 && out[i + 2] === 0) out.fill(0, i, i + 4);
  }
  return out;
}

// bitmaps: [{ id, source }]; cellSize: the side of a cell picture.
// Returns the files (site name -> PNG bytes) and the page's table of the
// pictures: id -> [file, x], the picture being the file from column x on
// (the board) or the cell there (the frame and the pieces).
export function bitmapPictures(bitmaps, cellSize) {
  const files = new Map();
  const table = {};
  const cells = [];
  for (const { id, source } of bitmaps) {
    const picture = decodeBmp(fs.readFileSync(source), source);
    if (picture.width === cellSize && picture.height === cellSize) {
      cells.push({ id, picture });
      continue;
    }
    const file = `bitmaps/${path.basename(source, '.bmp')}.png`;
    files.set(file, encodePng(picture.width, picture.height, picture.rgba));
    table[id] = [file, 0];
  }
  if (cells.length > 0) {
    const width = cells.length * cellSize;
    const strip = new Uint8Array(width * cellSize * 4);
    cells.forEach(({ id, picture }, k) => {
      const rgba = keyedOut(picture.rgba);
      for (let y = 0; y < cellSize; y++) {
        strip.set(rgba.subarray(4 * y * cellSize, 4 * (y + 1) * cellSize), 4 * (y * width + k * cellSize));
      }
      table[id] = [STRIP, k * cellSize];
    });
    files.set(STRIP, encodePng(width, cellSize, strip));
  }
  return { files, table };
}
