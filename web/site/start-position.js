// The position the board shows before the game's module has started, so
// that the page can paint it at once: the normal setup, red at the bottom,
// or the kept game's board.
import {
  BOARD_MARGIN, CELL_SIZE, IDB_BLACK_ADVISOR, IDB_BLACK_BISHOP, IDB_BLACK_CANNON, IDB_BLACK_KING,
  IDB_BLACK_KNIGHT, IDB_BLACK_PAWN, IDB_BLACK_ROOK, IDB_PIECE_BASE, IDB_RED_ADVISOR, IDB_RED_BISHOP,
  IDB_RED_CANNON, IDB_RED_KING, IDB_RED_KNIGHT, IDB_RED_PAWN, IDB_RED_ROOK,
} from './ids.js';

// Rows from the top of the board, in FEN letters: upper case red.
const NORMAL_SETUP = [
  'rnbakabnr', '.........', '.c.....c.', 'p.p.p.p.p', '.........',
  '.........', 'P.P.P.P.P', '.C.....C.', '.........', 'RNBAKABNR',
];

// A piece's code is its picture's id less the base of the piece pictures.
const PICTURES = {
  K: IDB_RED_KING, A: IDB_RED_ADVISOR, B: IDB_RED_BISHOP, N: IDB_RED_KNIGHT,
  R: IDB_RED_ROOK, C: IDB_RED_CANNON, P: IDB_RED_PAWN,
  k: IDB_BLACK_KING, a: IDB_BLACK_ADVISOR, b: IDB_BLACK_BISHOP, n: IDB_BLACK_KNIGHT,
  r: IDB_BLACK_ROOK, c: IDB_BLACK_CANNON, p: IDB_BLACK_PAWN,
};

// Every cell in the form of the game's board message: x, y, piece code and
// framed (none are), four numbers a cell.
export function normalSetupCells() {
  return rowCells(NORMAL_SETUP, [], false);
}

// The same for the board of a FEN, with the ICCS squares in framed ('h2')
// framed, turned half round when flipped; null for a board it cannot read.
export function positionCells(fen, framed, flipped) {
  const rows = fen.split(' ')[0].split('/')
    .map((row) => row.replace(/[1-9]/g, (n) => '.'.repeat(Number(n))));
  const readable = rows.length === 10 && rows.every((row) => row.length === 9 && /^[.KABNRCPkabnrcp]*$/.test(row));
  return readable ? rowCells(rows, framed, flipped) : null;
}

function rowCells(rows, framed, flipped) {
  const cells = [];
  rows.forEach((row, r) => [...row].forEach((letter, f) => {
    const piece = letter === '.' ? 0 : PICTURES[letter] - IDB_PIECE_BASE;
    const square = String.fromCharCode(97 + f) + (9 - r);
    const [column, line] = flipped ? [8 - f, 9 - r] : [f, r];
    cells.push(BOARD_MARGIN + CELL_SIZE * column, BOARD_MARGIN + CELL_SIZE * line, piece,
      framed.includes(square) ? 1 : 0);
  }));
  return cells;
}
