// The engine in the page decides as the native program does for the same
// seed, and thinks off the page's thread: the page keeps drawing frames,
// shows the wait cursor over the board and its sign beside the record, and
// takes no clicks meanwhile.
import assert from 'node:assert/strict';
import { after as afterAll, before, test } from 'node:test';
import { after, compose, Game, SETUPS, setUp, think } from './harness.mjs';

let env;
before(async () => { env = await setUp(); });
afterAll(async () => { await env.close(); });

// The computer's first move of a game it opens is its first draw from the
// generator, so it is the native decision for the same seed and position.
const OPENINGS = [
  { seed: 1, level: 3, command: 408, setup: 3 },
  { seed: 2, level: 4, command: 408, setup: 3 },
  { seed: 99, level: 3, command: 407, setup: 2 },
  { seed: 1733700000, level: 4, command: 406, setup: 1 },
  { seed: 4294967295, level: 2, command: 405, setup: 0 },
];

for (const { seed, level, command, setup } of OPENINGS) {
  test(`seed ${seed}, level ${level}: the opening move of setup ${setup} is the native one`, async () => {
    const game = await Game.open(env, { seed });
    await game.command(411 + level);
    await game.command(command);
    const move = think(SETUPS[setup], { level, seed });
    await game.expectPicture(
      compose(after(SETUPS[setup], [move]), { flipped: true, framed: [move.slice(0, 2), move.slice(2)] }),
      `opening-${seed}`);
    await game.close();
  });
}

test('a reply to the human is the native decision after that move', async () => {
  const seed = 31337;
  const game = await Game.open(env, { seed });
  await game.command(414);
  await game.command(402);
  await game.move('h0g2');
  const reply = await game.replyAfter(SETUPS[1], ['h0g2']);
  assert.equal(reply, think(SETUPS[1], { level: 3, seed, moves: ['h0g2'] }));
  await game.close();
});

test('during a level-6 decision the page keeps drawing, shows that it thinks and ignores the board and the menu', async () => {
  const game = await Game.open(env, { seed: 6 });
  await game.command(417);
  await game.answer(1);
  await game.sounds();
  // Red without nine pieces is out of the book: the computer searches.
  await (await game.openMenuItem(408)).click();
  await game.page.waitForFunction(() => document.getElementById('board').getAttribute('aria-busy') === 'true');
  const board = game.page.locator('#board');
  assert.equal(await board.evaluate((canvas) => getComputedStyle(canvas).cursor), 'wait');
  const thinking = game.page.locator('#thinking');
  assert.ok(await thinking.isVisible(), 'the sign beside the record shows');
  assert.equal(await thinking.textContent(), '电脑思考中…');
  const refused = () => game.page.evaluate(() => ['#board', '#menubar .title', '#move-text', '#move-submit']
    .map((selector) => [...document.querySelectorAll(selector)].every((e) => e.getAttribute('aria-disabled') === 'true')));
  assert.deepEqual(await refused(), [true, true, true, true]);
  await game.screenshot('thinking');

  const frames = await game.page.evaluate(() => window.lanterraFrames);
  const started = Date.now();
  await game.page.waitForTimeout(1500);
  const drawn = await game.page.evaluate(() => window.lanterraFrames) - frames;
  const seconds = (Date.now() - started) / 1000;
  assert.ok(drawn >= 20 * seconds, `${drawn} frames in ${seconds} s while the engine thinks`);

  // A press on the human's own cannon is not taken, and the menu stays shut.
  game.flipped = true;
  const before = await game.pixels();
  const cell = await game.pagePoint(8 + 56 * 7 + 28, 8 + 56 * 7 + 28);
  await game.page.mouse.click(cell.x, cell.y);
  // Forced: the title is marked refused, which the driver would wait out.
  await game.page.locator('#menubar .title').first().click({ force: true });
  await game.page.waitForTimeout(300);
  assert.deepEqual(await game.sounds(), [311]);
  assert.deepEqual(await game.pixels(), before);
  assert.equal(await game.page.locator('#menubar .menu.open').count(), 0);
  assert.equal(await board.getAttribute('aria-busy'), 'true', 'still thinking');

  // The reply comes, and with it the sign goes and the board takes presses.
  await game.settle(300000);
  assert.equal(await thinking.isVisible(), false);
  assert.deepEqual(await refused(), [false, false, false, false]);
  assert.ok(await game.replyAfter(SETUPS[3], [], 'level6-reply'));
  await game.close();
});
