// PNG pictures for the page: an RGBA image written as PNG, and the image of
// one size taken out of a Windows icon file.
import fs from 'node:fs';
import zlib from 'node:zlib';

const SIGNATURE = Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);

function chunk(type, data) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(data.length, 0);
  head.write(type, 4, 'latin1');
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(zlib.crc32(Buffer.concat([head.subarray(4), data])) >>> 0, 0);
  return Buffer.concat([head, data, crc]);
}

// rgba: width * height pixels of four bytes, rows top down. The smallest
// form that gives back every pixel exactly is chosen: an opaque picture of
// at most 256 colours (the game's bitmaps) keeps a palette, sorted by
// colour so that the wood's neighbouring shades get neighbouring indices;
// other opaque pictures are RGB and the rest RGBA. Rows are stored as they
// are (filter 0), which packs the dithered board best.
export function encodePng(width, height, rgba) {
  const count = width * height;
  let opaque = true;
  const colours = new Set();
  for (let i = 0; i < count; i++) {
    if (rgba[4 * i + 3] !== 255) opaque = false;
    if (colours.size <= 256) colours.add((rgba[4 * i] << 16) | (rgba[4 * i + 1] << 8) | rgba[4 * i + 2]);
  }
  const paletted = opaque && colours.size <= 256;
  const palette = paletted ? [...colours].sort((a, b) => a - b) : [];
  const index = new Map(palette.map((colour, i) => [colour, i]));
  const pixelBytes = paletted ? 1 : opaque ? 3 : 4;
  const rowBytes = width * pixelBytes;
  const rows = Buffer.alloc((rowBytes + 1) * height);
  for (let y = 0; y < height; y++) {
    let at = y * (rowBytes + 1) + 1;  // after the row's filter byte, 0
    for (let x = 0; x < width; x++) {
      const s = 4 * (y * width + x);
      if (paletted) {
        rows[at++] = index.get((rgba[s] << 16) | (rgba[s + 1] << 8) | rgba[s + 2]);
      } else {
        for (let c = 0; c < pixelBytes; c++) rows[at++] = rgba[s + c];
      }
    }
  }
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header[8] = 8;  // bits per channel or per palette index
  header[9] = paletted ? 3 : opaque ? 2 : 6;
  const chunks = [chunk('IHDR', header)];
  if (paletted) {
    chunks.push(chunk('PLTE', Buffer.from(palette.flatMap((c) => [c >> 16, (c >> 8) & 255, c & 255]))));
  }
  chunks.push(chunk('IDAT', zlib.deflateSync(rows, { level: 9 })), chunk('IEND', Buffer.alloc(0)));
  return Buffer.concat([SIGNATURE, ...chunks]);
}

// The size-pixel image of an icon file, as PNG bytes. Images stored as PNG
// are taken as they are; the others must be 32-bit bottom-up bitmaps with
// alpha.
export function iconPng(file, size) {
  const data = fs.readFileSync(file);
  if (data.readUInt16LE(0) !== 0 || data.readUInt16LE(2) !== 1) throw new Error(`${file} is not an icon file`);
  const count = data.readUInt16LE(4);
  for (let n = 0; n < count; n++) {
    const entry = 6 + 16 * n;
    const width = data[entry] || 256;
    if (width !== size) continue;
    const length = data.readUInt32LE(entry + 8);
    const offset = data.readUInt32LE(entry + 12);
    const image = data.subarray(offset, offset + length);
    if (image.subarray(0, 4).equals(SIGNATURE.subarray(0, 4))) return Buffer.from(image);
    const headerSize = image.readUInt32LE(0);
    const height = image.readInt32LE(8) / 2;
    if (image.readUInt16LE(14) !== 32 || height !== size) throw new Error(`${file}: only 32-bit images are read`);
    const rgba = Buffer.alloc(size * size * 4);
    for (let y = 0; y < size; y++) {
      for (let x = 0; x < size; x++) {
        const s = headerSize + 4 * ((size - 1 - y) * size + x);
        const d = 4 * (y * size + x);
        rgba[d] = image[s + 2];
        rgba[d + 1] = image[s + 1];
        rgba[d + 2] = image[s];
        rgba[d + 3] = image[s + 3];
      }
    }
    return encodePng(size, size, rgba);
  }
  throw new Error(`${file} has no ${size}-pixel image`);
}
