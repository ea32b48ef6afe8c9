// The game the page keeps in the browser. After every change the game sends
// its whole record as text (app/saved_game.h describes it), and the page
// stores it under one localStorage key with a single setItem, so a reader,
// in this tab or another, finds either the old record or the new one and
// never half of one; with two tabs open, the last change written wins. The
// next visit hands the text to the game, which resumes it or, when it does
// not load, starts a new game and says why.
export const SAVED_GAME_KEY = 'lanterra.game';

// The text of the game's record, or null when there is none or the browser
// keeps no storage for the page.
export function savedGame() {
  try {
    return localStorage.getItem(SAVED_GAME_KEY);
  } catch (error) {
    return null;
  }
}

export function saveGame(text) {
  try {
    localStorage.setItem(SAVED_GAME_KEY, text);
  } catch (error) {
    // A full or forbidden storage loses the game at the next visit, nothing
    // more; the game in front of the player goes on.
    console.warn('the game could not be kept:', error.message);
  }
}

// The game refused the record it was given; the record stays until the next
// change replaces it, since a newer version of the page may still read it.
export function notResumed(reason) {
  console.warn(`the kept game was not resumed (${reason}); a new game starts`);
}

// The board of the kept game without the game itself, for a paint before
// it starts: { fen, lastMove, flipped }, where fen is the position's FEN,
// lastMove the framed move in ICCS ('h2e2') or null, and flipped whether
// the human plays black and the board is turned. Null without a record of
// this version; the game checks the record and may still refuse it.
export function savedBoard() {
  const text = savedGame();
  if (!text) return null;
  const lines = text.split('\n');
  if (lines[0] !== 'lanterra saved game 1') return null;
  const field = (name) => {
    const line = lines.find((l) => l.startsWith(`${name} `));
    return line ? line.slice(name.length + 1).split(' ') : null;
  };
  const human = field('human');
  const board = field('board');
  if (!human || !board || board.length < 3) return null;
  const [lastMove, ...fen] = board;
  return { fen: fen.join(' '), lastMove: lastMove === '-' ? null : lastMove, flipped: human[0] === 'black' };
}
