// The board canvas: it shows the board picture with the pieces and frames
// the game asks for, pixel for pixel as the window draws them, and reports
// presses as points of that picture however large the canvas is shown.
import { decodeBmp } from './bmp.js';
import { CELL_SIZE, CLIENT_HEIGHT, CLIENT_WIDTH, IDB_BOARD, IDB_FRAME, IDB_PIECE_BASE } from './ids.js';

export class BoardCanvas {
  constructor(canvas) {
    this.canvas = canvas;
    this.context = canvas.getContext('2d');
    this.screen = this.context.createImageData(CLIENT_WIDTH, CLIENT_HEIGHT);
    this.pictures = {};
  }

  // bitmaps: resource id -> file. Resolves once every picture is decoded.
  async load(bitmaps) {
    await Promise.all(Object.entries(bitmaps).map(async ([id, file]) => {
      const response = await fetch(file);
      if (!response.ok) throw new Error(`${file}: ${response.status}`);
      this.pictures[id] = decodeBmp(await response.arrayBuffer(), file);
    }));
  }

  // cells: x, y, piece code and framed (0 or 1) of every cell, four numbers
  // a cell.
  paintBoard(cells) {
    this.copyBoard(0, 0, CLIENT_WIDTH, CLIENT_HEIGHT);
    for (let i = 0; i < cells.length; i += 4) this.drawCell(cells[i], cells[i + 1], cells[i + 2], cells[i + 3]);
    this.context.putImageData(this.screen, 0, 0);
  }

  paintSquare(x, y, piece, framed) {
    this.copyBoard(x, y, CELL_SIZE, CELL_SIZE);
    this.drawCell(x, y, piece, framed);
    this.context.putImageData(this.screen, 0, 0, x, y, CELL_SIZE, CELL_SIZE);
  }

  showBusy(busy) {
    this.canvas.classList.toggle('busy', busy);
    this.canvas.setAttribute('aria-busy', String(busy));
  }

  // press(x, y) for a press on the board, in board picture pixels. The mouse
  // acts on the button going down, as in the window; a finger acts on a tap,
  // so that a finger dragging to scroll selects nothing.
  onPress(press) {
    const pressAt = (event) => {
      const rect = this.canvas.getBoundingClientRect();
      const x = Math.floor(((event.clientX - rect.left) * CLIENT_WIDTH) / rect.width);
      const y = Math.floor(((event.clientY - rect.top) * CLIENT_HEIGHT) / rect.height);
      if (x < 0 || y < 0 || x >= CLIENT_WIDTH || y >= CLIENT_HEIGHT) return;
      press(x, y);
    };
    let lastPointer = 'mouse';
    this.canvas.addEventListener('pointerdown', (event) => {
      lastPointer = event.pointerType;
      if (event.pointerType === 'mouse' && event.button === 0) pressAt(event);
    });
    this.canvas.addEventListener('click', (event) => {
      if (lastPointer !== 'mouse') pressAt(event);
    });
  }

  // The board picture's own pixels in a cell's rectangle: bare board.
  copyBoard(x, y, width, height) {
    const board = this.pictures[IDB_BOARD];
    for (let row = y; row < y + height; row++) {
      const start = 4 * (row * CLIENT_WIDTH + x);
      this.screen.data.set(board.rgba.subarray(start, start + 4 * width), start);
    }
  }

  drawCell(x, y, piece, framed) {
    if (piece) this.drawSprite(x, y, this.pictures[IDB_PIECE_BASE + piece]);
    if (framed) this.drawSprite(x, y, this.pictures[IDB_FRAME]);
  }

  // A piece or the frame over a cell: every pixel but the key colour, pure
  // green, replaces the one beneath.
  drawSprite(x, y, picture) {
    const source = picture.rgba;
    const target = this.screen.data;
    for (let dy = 0; dy < CELL_SIZE; dy++) {
      for (let dx = 0; dx < CELL_SIZE; dx++) {
        const s = 4 * (dy * CELL_SIZE + dx);
        if (source[s] === 0 && source[s + 1] === 255 && source[s + 2] === 0) continue;
        const t = 4 * ((y + dy) * CLIENT_WIDTH + x + dx);
        target[t] = source[s];
        target[t + 1] = source[s + 1];
        target[t + 2] = source[s + 2];
        target[t + 3] = 255;
      }
    }
  }
}
