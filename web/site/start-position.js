// The normal setup as the board shows it at the start, red at the bottom,
// so that the page can paint it before the game's module has started.
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
  const cells = [];
  NORMAL_SETUP.forEach((row, r) => [...row].forEach((letter, f) => {
    const piece = letter === '.' ? 0 : PICTURES[letter] - IDB_PIECE_BASE;
    cells.push(BOARD_MARGIN + CELL_SIZE * f, BOARD_MARGIN + CELL_SIZE * r, piece, 0);
  }));
  return cells;
}
