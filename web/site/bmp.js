// The bitmaps are 8-bit palette BMPs; they are decoded here rather than by
// the browser so that every pixel keeps its exact colour.

// buffer: the file's bytes; name: the file, for the error. Returns the
// picture as RGBA rows, top down.
export function decodeBmp(buffer, name) {
  const view = new DataView(buffer);
  const bytes = new Uint8Array(buffer);
  if (view.getUint16(0, true) !== 0x4d42) throw new Error(`${name} is not a BMP picture`);
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
  const rgba = new Uint8ClampedArray(width * height * 4);
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
