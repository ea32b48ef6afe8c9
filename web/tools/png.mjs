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

// rgba: width * height pixels of four bytes, rows top down.
export function encodePng(width, height, rgba) {
  const rowBytes = width * 4;
  const rows = Buffer.alloc((rowBytes + 1) * height);
  for (let y = 0; y < height; y++) {
    // Each row starts with its filter type, 0: the bytes as they are.
    rows[y * (rowBytes + 1)] = 0;
    Buffer.from(rgba.buffer, rgba.byteOffset + y * rowBytes, rowBytes).copy(rows, y * (rowBytes + 1) + 1);
  }
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header[8] = 8;  // bits per channel
  header[9] = 6;  // RGBA
  return Buffer.concat([
    SIGNATURE,
    chunk('IHDR', header),
    chunk('IDAT', zlib.deflateSync(rows, { level: 9 })),
    chunk('IEND', Buffer.alloc(0)),
  ]);
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
