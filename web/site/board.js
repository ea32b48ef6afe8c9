// The board canvas: it shows the board picture with the pieces and frames
// the game asks for, pixel for pixel as the window draws them, and reports
// presses as points of that picture however large the canvas is shown.
import { CELL_SIZE, CLIENT_HEIGHT, CLIENT_WIDTH, IDB_BOARD, IDB_FRAME, IDB_PIECE_BASE } from './ids.js';

// The pictures are PNG files, loaded as images (which the page's head has
// already asked for) and taken with colour management off, so that every
// pixel keeps the exact colour of the program's bitmap. In the cell
// pictures (the frame and the pieces) the window's key colour, pure green,
// is transparent, so a piece drawn over the board leaves the board showing
// exactly where the window's masked copy does.
async function decodePicture(file) {
  const image = new Image();
  image.fetchPriority = 'high';
  await new Promise((resolve, reject) => {
    image.onload = resolve;
    image.onerror = () => reject(new Error(`${file} did not load`));
    image.src = file;
  });
  return createImageBitmap(image, { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
}

export class BoardCanvas {
  constructor(canvas) {
    this.canvas = canvas;
    this.context = canvas.getContext('2d');
    // Pictures are only ever copied at their own size, pixel onto pixel.
    this.context.imageSmoothingEnabled = false;
    this.pictures = {};      // resource id -> { image, x }: its cells in a decoded file
    this.shown = new Map();  // "x,y" of a cell -> [piece, framed], as last painted
  }

  // bitmaps: resource id -> [file, x], the picture being the file's from
  // column x on (the board) or the cell there (the frame and the pieces).
  // Resolves once every picture is decoded.
  async load(bitmaps) {
    const images = new Map();
    for (const [file] of Object.values(bitmaps)) {
      if (!images.has(file)) images.set(file, decodePicture(file));
    }
    for (const [id, [file, x]] of Object.entries(bitmaps)) this.pictures[id] = { image: await images.get(file), x };
  }

  // The cells as last painted, in the form paintBoard takes: what the board
  // shows can be painted again before the game has started.
  shownCells() {
    return [...this.shown].flatMap(([at, [piece, framed]]) => [...at.split(',').map(Number), piece, framed]);
  }

  // cells: x, y, piece code and framed (0 or 1) of every cell, four numbers
  // a cell.
  paintBoard(cells) {
    this.context.drawImage(this.pictures[IDB_BOARD].image, 0, 0);
    this.shown.clear();
    for (let i = 0; i < cells.length; i += 4) this.drawCell(cells[i], cells[i + 1], cells[i + 2], cells[i + 3]);
  }

  paintSquare(x, y, piece, framed) {
    this.context.drawImage(this.pictures[IDB_BOARD].image, x, y, CELL_SIZE, CELL_SIZE, x, y, CELL_SIZE, CELL_SIZE);
    this.drawCell(x, y, piece, framed);
  }

  // The board takes no press while the computer thinks, and says so.
  showBusy(busy) {
    this.canvas.classList.toggle('busy', busy);
    this.canvas.setAttribute('aria-busy', String(busy));
    if (busy) this.canvas.setAttribute('aria-disabled', 'true');
    else this.canvas.removeAttribute('aria-disabled');
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

  // The piece over the bare board, and the frame over both.
  drawCell(x, y, piece, framed) {
    this.shown.set(`${x},${y}`, [piece, framed ? 1 : 0]);
    if (piece) this.drawSprite(x, y, this.pictures[IDB_PIECE_BASE + piece]);
    if (framed) this.drawSprite(x, y, this.pictures[IDB_FRAME]);
  }

  drawSprite(x, y, picture) {
    this.context.drawImage(picture.image, picture.x, 0, CELL_SIZE, CELL_SIZE, x, y, CELL_SIZE, CELL_SIZE);
  }
}
