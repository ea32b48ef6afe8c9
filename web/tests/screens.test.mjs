// Every screen: a phone upright and sideways and a desktop show the whole
// board without scrolling, the record below it or beside it, and presses
// that land on the cell shown however large the board is drawn; on the
// phone every menu row and button is a target a finger can hit, without the
// keyboard letters.
import assert from 'node:assert/strict';
import { after as afterAll, before, test } from 'node:test';
import { compose, Game, SETUPS, setUp } from './harness.mjs';

let env;
before(async () => { env = await setUp(); });
afterAll(async () => { await env.close(); });

const PHONE = { deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const SCREENS = [
  { name: 'phone-upright', context: { ...PHONE, viewport: { width: 390, height: 844 } }, record: 'below' },
  { name: 'phone-sideways', context: { ...PHONE, viewport: { width: 844, height: 390 } }, record: 'beside', fullHeight: true },
  { name: 'desktop', context: { viewport: { width: 1280, height: 800 } }, record: 'beside' },
];

for (const { name, context, record, fullHeight } of SCREENS) {
  test(`${name}: the whole board in view without scrolling, the record ${record} it`, async () => {
    const game = await Game.open(env, { seed: 31, context });
    const { width, height } = context.viewport;
    const page = game.page;
    const layout = await page.evaluate(() => {
      const rect = (id) => document.getElementById(id).getBoundingClientRect().toJSON();
      const root = document.scrollingElement;
      return { board: rect('board'), record: rect('record'), scrollWidth: root.scrollWidth, scrollHeight: root.scrollHeight };
    });
    const { board } = layout;
    assert.ok(board.left >= 0 && board.top >= 0 && board.right <= width && board.bottom <= height,
      `the board lies at ${JSON.stringify(board)}`);
    assert.ok(layout.scrollWidth <= width && layout.scrollHeight <= height, `the page scrolls: ${layout.scrollWidth} x ${layout.scrollHeight}`);
    // The board keeps its shape.
    assert.ok(Math.abs(board.width / board.height - 520 / 576) < 0.01);
    if (fullHeight) assert.ok(board.height >= height - 1, `the board is ${board.height} high`);
    if (record === 'below') assert.ok(layout.record.top >= board.bottom - 1 && layout.record.height >= 150);
    else assert.ok(layout.record.left >= board.right - 1 && layout.record.width >= 200);

    // A press lands on the cell under it, and the picture itself is untouched.
    await (context.hasTouch ? game.tapSquare('h2') : game.clickSquare('h2'));
    await game.expectPicture(compose(SETUPS[0], { framed: ['h2'] }), `${name}-selected`);
    await (context.hasTouch ? game.tapSquare('e2') : game.clickSquare('e2'));
    await game.replyAfter(SETUPS[0], ['h2e2'], `${name}-reply`);
    await game.screenshot(`screen-${name}`);
    await game.close();
  });
}

test('on a phone every menu row and button is at least 24 pixels high, and the keyboard letters are hidden', async () => {
  const game = await Game.open(env, { seed: 32, context: SCREENS[0].context });
  const page = game.page;
  const tooSmall = async () => page.evaluate(() => [...document.querySelectorAll('.title, .item, #record button, #move-text')]
    .filter((element) => element.getClientRects().length > 0)
    .map((element) => [element.textContent.trim() || element.id, element.getBoundingClientRect().height])
    .filter(([, h]) => h < 24));
  assert.deepEqual(await tooSmall(), []);
  for (const [menu, submenus] of [[0, 2], [1, 1]]) {
    await page.locator('#menubar .title').nth(menu).tap();
    for (let i = 0; i < submenus; i++) {
      await page.locator('#menubar .menu.open .submenu').nth(i).locator(':scope > .label').tap();
      assert.deepEqual(await tooSmall(), [], `menu ${menu}, submenu ${i}`);
    }
    const hints = await page.locator('#menubar .menu.open .key, #menubar .menu.open .arrow')
      .evaluateAll((elements) => elements.filter((e) => e.getClientRects().length > 0).length);
    assert.equal(hints, 0, 'no keyboard letter or submenu arrow shows');
    await game.screenshot(`phone-menu-${menu}`);
    await page.locator('#menubar .title').nth(menu).tap();
  }
  await game.close();
});
