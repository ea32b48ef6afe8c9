// The board by keyboard and screen reader. The canvas takes focus; the
// arrow keys move a cursor square, drawn on the page over the picture and
// never into it, and Enter or Space presses the square under it as a click
// would, to pick a piece up and to put it down. What the board is (whose
// turn it is, which side the player has) is its description; the square
// under the cursor, and a piece picked up, are said as the cursor moves.
import { CELL_SIZE, CLIENT_HEIGHT, CLIENT_WIDTH } from './ids.js';

// Where the first cell of the picture starts, in its pixels.
const MARGIN = 8;
const FILES = 9;
const RANKS = 10;
// Piece codes: red's king, advisor, bishop, knight, rook, cannon and pawn
// from 8 on, black's from 16 on.
const PIECE_NAMES = ['帅', '仕', '相', '马', '车', '炮', '兵'];
const BLACK_PIECE_NAMES = ['将', '士', '象', '马', '车', '炮', '卒'];

export function pieceName(piece) {
  if (piece >= 16) return `黑${BLACK_PIECE_NAMES[piece - 16]}`;
  if (piece >= 8) return `红${PIECE_NAMES[piece - 8]}`;
  return '';
}

export class BoardKeys {
  // press(x, y): a press on the board in picture pixels, as a click's;
  // cellAt(x, y): [piece, framed] of the cell there as last painted.
  constructor({ canvas, cursor, state, cursorState }, { press, cellAt }) {
    Object.assign(this, { canvas, cursor, state, cursorState, press, cellAt });
    // The cursor starts on the player's king, at the bottom middle.
    this.column = 4;
    this.row = RANKS - 1;
    this.flipped = false;
    this.pickedUp = null;  // the cell pressed last, until it shows framed
    canvas.addEventListener('keydown', (event) => this.key(event));
    canvas.addEventListener('focus', () => {
      if (canvas.matches(':focus-visible')) this.showCursor();
    });
    canvas.addEventListener('blur', () => { cursor.hidden = true; });
  }

  // The cell's top left corner in picture pixels.
  get cell() {
    return { x: MARGIN + CELL_SIZE * this.column, y: MARGIN + CELL_SIZE * this.row };
  }

  // The square under the cursor as ICCS names it, from red's left and side.
  get square() {
    const file = this.flipped ? FILES - 1 - this.column : this.column;
    const rank = this.flipped ? this.row : RANKS - 1 - this.row;
    return String.fromCharCode(97 + file) + rank;
  }

  key(event) {
    if (event.altKey || event.ctrlKey || event.metaKey) return;
    const steps = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    if (steps[event.key]) {
      const [dx, dy] = steps[event.key];
      this.column = Math.min(FILES - 1, Math.max(0, this.column + dx));
      this.row = Math.min(RANKS - 1, Math.max(0, this.row + dy));
      this.showCursor();
      this.sayCursor();
    } else if (event.key === 'Enter' || event.key === ' ') {
      this.showCursor();
      const { x, y } = this.cell;
      this.pickedUp = `${x},${y}`;
      this.press(x + CELL_SIZE / 2, y + CELL_SIZE / 2);
    } else {
      return;
    }
    event.preventDefault();
  }

  showCursor() {
    const { x, y } = this.cell;
    this.cursor.style.left = `${(100 * x) / CLIENT_WIDTH}%`;
    this.cursor.style.top = `${(100 * y) / CLIENT_HEIGHT}%`;
    this.cursor.hidden = false;
  }

  sayCursor(prefix = '') {
    const { x, y } = this.cell;
    const [piece] = this.cellAt(x, y) || [0];
    this.cursorState.textContent = `${prefix}${this.square} ${pieceName(piece) || '空'}`;
  }

  // A cell the game painted: the piece the keys pressed on, framed, has
  // been picked up.
  painted(x, y, piece, framed) {
    if (this.pickedUp !== `${x},${y}`) return;
    this.pickedUp = null;
    if (framed && piece) this.sayCursor('拿起 ');
  }

  // The board's description: the player's side and whose turn it is, or
  // how the game ended.
  describe({ humanBlack, blackToMove, over, outcome, thinking }) {
    this.flipped = humanBlack;
    const human = humanBlack ? '黑方' : '红方';
    const computer = humanBlack ? '红方' : '黑方';
    let turn;
    if (over) turn = `对局结束，${outcome}`;
    else if (blackToMove === humanBlack) turn = `轮到你（${human}）走棋`;
    else turn = `轮到电脑（${computer}）走棋${thinking ? '，电脑思考中' : ''}`;
    this.state.textContent = `你执${human.slice(0, 1)}。${turn}。`;
  }
}
