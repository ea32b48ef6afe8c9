// The board comes first. This module runs ahead of main.js, as soon as its
// own few imports are in, and paints the board with the position the game
// opens with once its two pictures are: before the sounds and the game's
// module, which main.js starts only when the board is on the screen.
// main.js shares the same board.
import { BoardCanvas } from './board.js';
import { savedBoard } from './saved-game.js';
import { normalSetupCells, positionCells } from './start-position.js';

// What the board shows before the game has started: the position the game
// opens with, the kept game's or the normal setup. The game then paints the
// same position, unless it refuses the kept game.
function openingCells() {
  const kept = savedBoard();
  const framed = kept && kept.lastMove ? [kept.lastMove.slice(0, 2), kept.lastMove.slice(2, 4)] : [];
  return (kept && positionCells(kept.fen, framed, kept.flipped)) || normalSetupCells();
}

const resources = JSON.parse(document.getElementById('resources').textContent);

export const board = new BoardCanvas(document.getElementById('board'));

// Resolves once the board is painted.
export const firstPaint = board.load(resources.bitmaps).then(() => {
  board.paintBoard(openingCells());
  requestAnimationFrame(() => performance.mark('lanterra-board'));
});
firstPaint.catch((error) => console.error('pictures:', error));
