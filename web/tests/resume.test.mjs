// The game the page keeps in the browser: a reload resumes it exactly and
// it goes on with the decisions it would have made; a kept record that does
// not load starts a new game; a reload while the computer thinks, or with
// the game-over box open, goes on where it was.
import assert from 'node:assert/strict';
import { after as afterAll, before, test } from 'node:test';
import { after, compose, Game, SETUPS, setUp, think } from './harness.mjs';

let env;
before(async () => { env = await setUp(); });
afterAll(async () => { await env.close(); });

const KEY = 'lanterra.game';
const IDOK = 1;

async function reload(game, timeout) {
  await game.page.reload();
  await game.settle(timeout);
}

const kept = (game) => game.page.evaluate((key) => localStorage.getItem(key), KEY);
const keep = (game, text) => game.page.evaluate(([key, value]) => localStorage.setItem(key, value), [KEY, text]);

// A game as black at level 2 with sound off and a quotation on the way (it
// draws from the game's generator), two moves of the human's, a reload in
// between when asked, then two more moves and a quotation. The human's moves
// are the native engine's.
async function play(game, { humanMoves, reloadAt } = {}) {
  await game.command(413);
  await game.command(431);
  await game.command(405);
  const moves = [await game.replyAfter(SETUPS[0], [], 'kept-opening')];
  const replies = [moves[0]];
  const quotes = [];
  const mine = [];
  const seen = {};
  for (let turn = 0; turn < 4; turn++) {
    if (turn === 1 || turn === 3) {
      await game.command(491);
      quotes.push((await game.box()).text);
      await game.answer(IDOK);
    }
    if (turn === reloadAt) {
      seen.before = { pixels: await game.pixels(), menu: await game.menuState() };
      await reload(game);
      seen.after = { pixels: await game.pixels(), menu: await game.menuState() };
    }
    const move = humanMoves ? humanMoves[turn] : think(SETUPS[0], { level: 1, seed: turn + 1, moves });
    await game.move(move);
    mine.push(move);
    moves.push(move);
    const reply = await game.replyAfter(SETUPS[0], moves, `kept-turn-${turn}`);
    moves.push(reply);
    replies.push(reply);
  }
  return { moves, replies, quotes, mine, seen };
}

test('a reload shows the game as it was, and with ?seed the decisions after it are those of a game without one', async () => {
  const plain = await Game.open(env, { seed: 8086 });
  const straight = await play(plain);
  await plain.close();

  const game = await Game.open(env, { seed: 8086 });
  const resumed = await play(game, { humanMoves: straight.mine, reloadAt: 2 });
  await game.screenshot('kept-after-reload');
  assert.deepEqual(resumed.replies, straight.replies, 'the computer played the same moves');
  assert.deepEqual(resumed.quotes, straight.quotes, 'the quotations drew the same values');
  assert.equal(resumed.seen.after.pixels.length, resumed.seen.before.pixels.length);
  assert.ok(resumed.seen.after.pixels.every((value, i) => value === resumed.seen.before.pixels[i]),
    'the board is pixel-equal after the reload');
  assert.deepEqual(resumed.seen.after.menu, resumed.seen.before.menu);
  assert.equal(resumed.seen.after.menu[413].checked, true);
  assert.equal(resumed.seen.after.menu[431].checked, false);
  assert.equal(resumed.seen.after.menu[421].disabled, false);

  // What a paint before the game starts reads of the kept game.
  const board = await game.page.evaluate(
    async () => (await import(new URL('saved-game.js', location.href))).savedBoard());
  assert.deepEqual(board,
    { fen: after(SETUPS[0], resumed.moves), lastMove: resumed.moves.at(-1), flipped: true });
  await game.close();
});

test('before the game has started, the first paint shows the kept board', async () => {
  const game = await Game.open(env, { seed: 12 });
  await game.command(405);
  const kept = await game.pixels();
  // The game's worker never comes: what the canvas shows is the first paint.
  await game.page.route('**/worker.js', () => {});
  await game.page.reload();
  await game.page.waitForFunction(() => performance.getEntriesByName('lanterra-board').length > 0);
  assert.ok((await game.pixels()).every((value, i) => value === kept[i]), 'the kept board, turned and framed');
  await game.close();
});

test('a kept record that does not load starts a new game with a warning and no error', async () => {
  const game = await Game.open(env, { seed: 5 });
  const warnings = [];
  game.page.on('console', (message) => {
    if (message.type() === 'warning') warnings.push(message.text());
  });
  await game.move('h2e2');
  const good = await kept(game);
  assert.match(good, /^lanterra saved game 1\n/);
  const firstMove = good.match(/\nmoves (\S+)/)[1];
  const bad = {
    garbage: '\u0000\u00ff not a game at all \ud800',
    'cut in half': good.slice(0, good.length >> 1),
    'an illegal move': good.replace(`\nmoves ${firstMove}`, '\nmoves h2h5'),
    'an unknown version': good.replace('lanterra saved game 1', 'lanterra saved game 9'),
  };
  for (const [kind, text] of Object.entries(bad)) {
    await keep(game, text);
    warnings.length = 0;
    await reload(game);
    await game.expectPicture(compose(SETUPS[0]), `kept-${kind.replace(/ /g, '-')}`);
    const menu = await game.menuState();
    assert.equal(menu[411].checked && menu[431].checked && menu[421].disabled, true, kind);
    assert.equal(warnings.filter((w) => w.includes('not resumed')).length, 1, `${kind}: ${warnings}`);
    // The record stays until the first change replaces it: a newer page may
    // still read it.
    assert.equal(await kept(game), text, kind);
  }
  await game.close();
});

test('a reload while the computer thinks resumes with the computer to move, and it replies the same', async () => {
  const seed = 6;
  const game = await Game.open(env, { seed });
  await game.command(417);
  await game.answer(IDOK);
  // Red without nine pieces is out of the book: the computer searches.
  await (await game.openMenuItem(408)).click();
  await game.page.waitForFunction(() => document.getElementById('board').getAttribute('aria-busy') === 'true');
  assert.match(await kept(game), /\nmoves\n/);
  await reload(game, 600000);
  game.flipped = true;
  const reply = await game.replyAfter(SETUPS[3], [], 'kept-thinking');
  assert.equal(reply, think(SETUPS[3], { level: 6, seed }));
  assert.equal((await game.menuState())[417].checked, true);
  await game.close();
});

test('a reload with the game-over box open asks again; answered, it stays over', async () => {
  // Red mates with b0b9.
  const fen = after('4k4/R8/9/9/9/9/9/9/9/1R1K5 w', []);
  const game = await Game.open(env, { seed: 3 });
  await keep(game, ['lanterra saved game 1', `start ${fen}`, 'human red', 'level 0', 'sound on', 'random 1',
    'moves', 'undo 0 off', 'over no', `board - ${fen}`, ''].join('\n'));
  await reload(game);
  await game.expectPicture(compose(fen), 'kept-mate-in-one');
  await game.move('b0b9');
  const box = await game.box();
  await reload(game);
  assert.deepEqual(await game.box(), box);
  await game.answer(7);
  await reload(game);
  assert.equal(await game.boxOpen(), false);
  await game.expectPicture(compose(after(fen, ['b0b9']), { framed: ['b0', 'b9'] }), 'kept-over');
  await game.close();
});
