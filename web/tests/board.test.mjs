// The board as a player meets it: the start picture, selecting and moving,
// the computer's reply, clicks that do nothing, undo, the turned board and a
// handicap game. Every picture is compared pixel for pixel with one composed
// from the resource bitmaps.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, compose, Game, SETUPS, setUp, SITE, soundLength, think } from './harness.mjs';
import { after as afterAll, before, test } from 'node:test';

let env;
before(async () => { env = await setUp(); });
afterAll(async () => { await env.close(); });

const START = SETUPS[0];

test('the page starts with the normal setup drawn as the window draws it, and the new-game sound', async () => {
  const game = await Game.open(env, { seed: 1 });
  await game.expectPicture(compose(START), 'start');
  assert.deepEqual(await game.sounds(), [311]);
  await game.screenshot('start');
  assert.deepEqual(game.errors, []);
  await game.close();
});

test('a move plays its sound and the computer answers with the native decision for the seed', async () => {
  const seed = 20261208;
  const game = await Game.open(env, { seed });
  await game.sounds();
  await game.clickSquare('h2');
  assert.deepEqual(await game.sounds(), [300]);
  await game.expectPicture(compose(START, { framed: ['h2'] }), 'selected');

  await game.clickSquare('e2');
  const reply = think(START, { level: 0, seed, moves: ['h2e2'] });
  const sounds = await game.sounds();
  assert.equal(sounds[0], 302, 'the human move sound comes first');
  assert.ok([303, 305, 307].includes(sounds[1]), `a computer move sound, not ${sounds[1]}`);
  assert.equal(sounds.length, 2);
  await game.expectPicture(compose(after(START, ['h2e2', reply]), { framed: [reply.slice(0, 2), reply.slice(2)] }),
    'reply');
  await game.screenshot('reply');

  // Selecting a piece takes the frames off the computer's move.
  await game.clickSquare('a0');
  await game.expectPicture(compose(after(START, ['h2e2', reply]), { framed: ['a0'] }), 'reselected');
  await game.close();
});

test('the sounds are the WAVE resources, heard once the player has pressed something', async () => {
  const game = await Game.open(env, { seed: 12 });
  assert.deepEqual(await game.audio(), [], 'nothing sounds before the first press');
  await game.clickSquare('e4');
  await game.page.waitForFunction(() => navigator.userActivation.hasBeenActive);
  await game.page.waitForTimeout(200);
  await game.clickSquare('h2');
  await game.clickSquare('e2');
  await game.page.waitForTimeout(100);
  const heard = await game.audio();
  const expected = ['select', 'human-move', 'computer-move'].map(soundLength);
  assert.equal(heard.length, 3, `heard ${heard}`);
  heard.forEach((length, i) => assert.ok(Math.abs(length - expected[i]) < 0.002, `${length} s, not ${expected[i]} s`));
  await game.close();
});

test('clicks that address nothing change nothing; a second own piece takes the frame', async () => {
  const game = await Game.open(env, { seed: 2 });
  await game.sounds();
  await game.clickSquare('e4');  // empty
  await game.clickSquare('h7');  // the computer's cannon
  assert.deepEqual(await game.sounds(), []);
  await game.expectPicture(compose(START), 'nothing-selected');

  await game.clickSquare('b0');
  await game.clickSquare('b4');  // no knight can go there
  await game.clickSquare('c5');  // nor there
  assert.deepEqual(await game.sounds(), [300]);
  await game.clickSquare('h0');
  await game.clickSquare('h0');
  assert.deepEqual(await game.sounds(), [300, 300]);
  await game.expectPicture(compose(START, { framed: ['h0'] }), 'second-piece');
  await game.close();
});

test('a click maps to a cell exactly as in the window: left margin to the first file, right and bottom margins to none', async () => {
  const game = await Game.open(env, { seed: 3 });
  await game.sounds();
  await game.clickAt(515, 8 + 56 * 9 + 28);  // right margin, red's back rank
  await game.clickAt(8 + 56 * 4 + 28, 570);  // bottom margin, below the king
  assert.deepEqual(await game.sounds(), []);
  await game.clickAt(2, 8 + 56 * 9 + 1);  // left margin, the rook's row
  assert.deepEqual(await game.sounds(), [300]);
  await game.expectPicture(compose(START, { framed: ['a0'] }), 'margin');
  await game.clickAt(8 + 56 * 8 + 55, 8 + 56 * 9 + 55);  // the last pixel of the right rook's cell
  await game.expectPicture(compose(START, { framed: ['i0'] }), 'last-pixel');
  await game.close();
});

test('undo takes back the move pair and grays itself; it is gray again after a new game', async () => {
  const game = await Game.open(env, { seed: 4 });
  assert.equal((await game.menuState())[421].disabled, true);
  await game.move('b0c2');
  assert.equal((await game.menuState())[421].disabled, false);
  await game.sounds();
  await game.command(421);
  await game.expectPicture(compose(START), 'undone');
  assert.deepEqual(await game.sounds(), [], 'undo is silent');
  assert.equal((await game.menuState())[421].disabled, true);

  // Undo after the second pair goes back to the first reply.
  await game.move('b0c2');
  const reply = (await game.replyAfter(START, ['b0c2']));
  await game.move('h0g2');
  await game.command(421);
  await game.expectPicture(compose(after(START, ['b0c2', reply])), 'undone-second');
  await game.command(401);
  assert.equal((await game.menuState())[421].disabled, true);
  await game.close();
});

test('with the computer opening, the board is turned and red answers at once', async () => {
  const seed = 77;
  const game = await Game.open(env, { seed });
  await game.sounds();
  await game.command(405);
  const opening = think(START, { level: 0, seed });
  const sounds = await game.sounds();
  assert.equal(sounds[0], 311);
  assert.ok([303, 305, 307].includes(sounds[1]));
  await game.expectPicture(compose(after(START, [opening]), { flipped: true, framed: [opening.slice(0, 2), opening.slice(2)] }),
    'flipped');
  await game.screenshot('flipped');

  // The human's black pieces sit at the bottom and answer clicks there.
  await game.clickSquare('b7');
  assert.deepEqual(await game.sounds(), [300]);
  await game.close();
});

test('handicap games start red without both knights, or without nine pieces, and the human to move', async () => {
  const game = await Game.open(env, { seed: 5 });
  await game.command(403);
  await game.expectPicture(compose(SETUPS[2]), 'handicap');
  await game.move('a0a1');
  const reply = await game.replyAfter(SETUPS[2], ['a0a1']);
  assert.ok(reply, 'the computer answered');
  await game.command(404);
  await game.expectPicture(compose(SETUPS[3]), 'handicap-nine');
  await game.close();
});

test('the page is small and fetches nothing from outside its folder', async () => {
  let total = 0;
  const walk = (dir) => {
    for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
      const full = path.join(dir, entry.name);
      if (entry.isDirectory()) walk(full); else total += fs.statSync(full).size;
    }
  };
  walk(SITE);
  assert.ok(total <= 1.5e6, `the site weighs ${total} bytes`);

  const requests = [];
  const context = await env.browser.newContext();
  context.on('request', (request) => requests.push(request.url()));
  const page = await context.newPage();
  await page.goto(`${env.base}?seed=9`);
  await page.waitForFunction(() => document.documentElement.dataset.state === 'ready');
  await page.locator('#board').click({ position: { x: 100, y: 500 } });
  await page.waitForTimeout(300);
  await context.close();
  assert.ok(requests.length > 0);
  assert.deepEqual(requests.filter((url) => !url.startsWith(env.base)), []);
});
