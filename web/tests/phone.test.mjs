// A phone: 390 x 844 CSS pixels, touch only. The whole board fits the width
// without sideways scrolling, and taps select, move and work the menu.
import assert from 'node:assert/strict';
import { after as afterAll, before, test } from 'node:test';
import { ARTIFACTS, compose, Game, SETUPS, setUp } from './harness.mjs';

let env;
before(async () => { env = await setUp(); });
afterAll(async () => { await env.close(); });

const PHONE = { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

test('on a phone the board fits the screen and a game is played with taps', async () => {
  const game = await Game.open(env, { seed: 8, context: PHONE });
  const page = game.page;
  assert.ok(await page.evaluate(() => document.documentElement.scrollWidth) <= 390, 'no sideways scrolling');
  const box = await page.locator('#board').boundingBox();
  assert.ok(box.x >= 0 && box.x + box.width <= 390, `board from ${box.x} to ${box.x + box.width}`);
  assert.ok(box.y >= 0 && box.y + box.height <= 844, `board from ${box.y} to ${box.y + box.height}`);
  // The picture itself is untouched; only its display is scaled.
  await game.expectPicture(compose(SETUPS[0]), 'phone-start');

  await game.sounds();
  await game.tapSquare('h2');
  assert.deepEqual(await game.sounds(), [300]);
  await game.expectPicture(compose(SETUPS[0], { framed: ['h2'] }), 'phone-selected');
  await game.tapSquare('e2');
  assert.ok(await game.replyAfter(SETUPS[0], ['h2e2'], 'phone-reply'));
  await game.screenshot('phone-reply');

  // The menu by taps, a submenu inside it, all on the screen.
  await page.locator('#menubar .title').first().tap();
  await page.locator('.submenu').first().locator(':scope > .label').tap();
  const level = page.locator('[data-command="415"]');
  const item = await level.boundingBox();
  assert.ok(item.x >= 0 && item.x + item.width <= 390, `the submenu reaches ${item.x + item.width}`);
  await game.screenshot('phone-menu');
  await level.tap();
  await game.settle();
  assert.equal((await game.menuState())[415].checked, true);
  assert.equal(await page.locator('#menubar .menu.open').count(), 0);

  // Undo by tap as well.
  await game.command(421);
  await game.expectPicture(compose(SETUPS[0]), 'phone-undone');
  await game.close();
});

test('under the board a link opens the help, which reads on the phone without sideways scrolling', async () => {
  const game = await Game.open(env, { seed: 8, context: PHONE });
  const link = game.page.locator('#help-link a');
  const box = await link.boundingBox();
  assert.ok(box && box.y + box.height <= 844, `the link at ${box && box.y}`);
  const [help] = await Promise.all([game.page.context().waitForEvent('page'), link.tap()]);
  await help.waitForLoadState();
  assert.equal(await help.title(), 'Lanterra 玩法说明');
  assert.ok(await help.evaluate(() => document.documentElement.scrollWidth) <= 390, 'no sideways scrolling');
  await help.screenshot({ path: `${ARTIFACTS}/phone-help.png`, fullPage: true });
  await game.close();
});
