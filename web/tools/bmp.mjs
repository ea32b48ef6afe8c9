// The game's bitmaps are 8-bit palette BMPs, the form the Windows program
// embeds; the site gets them as PNG pictures of exactly the same pixels.

// bytes: the file; name: the file, for the error. Returns the picture as
// RGBA rows, top down.
export function decodeBmp(bytes, name) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  if (bytes.length < 54 || view.getUint16(0, true) !== 0x4d42) throw new Error(`${name} is not a BMP picture`);
  const dataOffset = view.getUint32(10, true);
  const headerSize = view.getUint32(14, true);
  const width = view.getInt32(18, true);
  const storedHeight = view.getInt32(22, true);
  if (view.getUint16(28, true) !== 8 || view.getUint32(30, true) !== 0) {
    throw new Error(`${name} is not an uncompressed 8-bit picture`);
  }
  const height = Math.abs(storedHeight);
  const palette = 14 + headerSize;
  const stride = (width + 3) & ~3;
  if (width <= 0 || dataOffset < palette + 1024 || dataOffset + stride * height > bytes.length) {
    throw new Error(`${name} is cut short or has no full palette`);
  }
  const rgba = new Uint8Array(width * height * 4);
  for (let y = 0; y < height; y++) {
    // Positive heights store the rows bottom up.
    const row = dataOffset + stride * (storedHeight > 0 ? height - 1 - y : y);
    for (let x = 0; x < width; x++) {
      const entry = palette + 4 * bytes[row + x];
      const at = 4 * (y * width + x);
      rgba[at] = bytes[entry + 2];
      rgba[at + 1] = bytes[entry + 1];
      rgba[at + 2] = bytes[entry];
      rgba[at + 3] = 255;
    }
  }
  return { width, height, rgba };
}
