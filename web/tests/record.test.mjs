// The move record beside the board and play without a pointer: the record
// of a scripted game against the native tool's Chinese notation, undo, a
// reload and a new game; the copy and the saved game file, which the tool
// reads back to the same moves; a move made with the keys alone, one typed,
// what a screen reader hears, and where the keys go when a menu or a box
// closes.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after as afterAll, before, test } from 'node:test';
import { after, compose, Game, SETUPS, setUp, think, TOOL } from './harness.mjs';

let env;
before(async () => { env = await setUp(); });
afterAll(async () => { await env.close(); });

const START = SETUPS[0];
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'lanterra-record-'));

// The moves of a game written by the native tool in Chinese notation: the
// game as ICCS moves into `lanterra pgn --notation chinese`, and the move
// texts out of what it writes.
function nativeChinese(moves) {
  const file = path.join(scratch, 'iccs.pgn');
  fs.writeFileSync(file, `[Result "*"]\n\n${moves.join(' ')} *\n`);
  const out = execFileSync(TOOL, ['pgn', '--notation', 'chinese', file], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] });
  return moveTexts(out);
}

// The move texts of a game file's move text: tags, numbers, comments and
// the result left out.
function moveTexts(pgn) {
  return pgn.split('\n').filter((line) => !line.startsWith('['))
    .join(' ').replace(/\{[^}]*\}/g, ' ').split(/\s+/)
    .filter((token) => token && !/^(\d+\.+|\.\.\.)$/.test(token) && !['*', '1-0', '0-1', '1/2-1/2'].includes(token));
}

// The ICCS moves `lanterra pgn` reads from a game file.
function nativeIccs(file) {
  const out = execFileSync(TOOL, ['pgn', file], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] });
  return out.trim().split('\n').filter((line) => line && !line.startsWith('[')).join(' ').split(' ');
}

// The record as shown: its moves in order, and its outcome line.
async function shownRecord(game) {
  return game.page.evaluate(() => ({
    moves: [...document.querySelectorAll('#moves .move')].map((m) => m.textContent).filter((t) => t !== '…'),
    rows: [...document.querySelectorAll('#moves li')].map((li) => li.textContent),
    last: document.querySelector('#moves .move.last')?.textContent ?? null,
    outcome: document.getElementById('outcome').textContent,
  }));
}

test('the record shows the game in Chinese notation, follows undo, a reload and a new game, and is copied and saved', async () => {
  const game = await Game.open(env, { seed: 2207, context: { permissions: ['clipboard-read', 'clipboard-write'] } });
  const moves = [];
  for (let turn = 0; turn < 3; turn++) {
    const move = think(START, { level: 1, seed: turn + 1, moves });
    await game.move(move);
    const reply = await game.replyAfter(START, [...moves, move], `record-${turn}`);
    moves.push(move, reply);
  }
  const chinese = nativeChinese(moves);
  let shown = await shownRecord(game);
  assert.deepEqual(shown.moves, chinese);
  assert.equal(shown.last, chinese[5], 'the last move is marked');
  assert.equal(shown.rows[0], `1.${chinese[0]}${chinese[1]}`);

  await game.page.locator('#copy-record').click();
  await game.page.waitForFunction(() => document.getElementById('record-note').textContent !== '');
  assert.equal(await game.page.evaluate(() => navigator.clipboard.readText()),
    `1. ${chinese[0]} ${chinese[1]}\n2. ${chinese[2]} ${chinese[3]}\n3. ${chinese[4]} ${chinese[5]}\n`);

  // The saved file reads back through the native tool as the same moves.
  const [download] = await Promise.all([game.page.waitForEvent('download'), game.page.locator('#save-record').click()]);
  assert.match(download.suggestedFilename(), /^lanterra-\d{8}-\d{4}\.pgn$/);
  const file = path.join(scratch, 'saved.pgn');
  await download.saveAs(file);
  assert.deepEqual(nativeIccs(file), moves);
  assert.deepEqual(moveTexts(fs.readFileSync(file, 'utf8')), chinese, 'the file is in Chinese notation');

  // Undo takes back the last pair; a reload shows the record kept.
  await game.command(421);
  shown = await shownRecord(game);
  assert.deepEqual(shown.moves, chinese.slice(0, 4));
  assert.equal(shown.last, chinese[3]);
  await game.page.reload();
  await game.settle();
  assert.deepEqual((await shownRecord(game)).moves, chinese.slice(0, 4));

  await game.command(401);
  shown = await shownRecord(game);
  assert.deepEqual(shown, { moves: [], rows: [], last: null, outcome: '' });
  await game.close();
});

test('a long kept game opens with its record scrolled to the last move, on a phone', async () => {
  const moves = [];
  for (let i = 0; i < 60; i++) moves.push(think(START, { level: 0, seed: i + 1, moves }));
  const kept = ['lanterra saved game 1', `start ${START}`, 'human red', 'level 0', 'sound on', 'random 1',
    `moves ${moves.join(' ')}`, 'undo 0 off', 'over no', `board ${moves[59]} ${after(START, moves)}`, ''].join('\n');
  const game = await Game.open(env, { seed: 1, context: { viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true } });
  await game.page.evaluate((text) => localStorage.setItem('lanterra.game', text), kept);
  await game.page.reload();
  await game.settle();
  const view = await game.page.evaluate(() => {
    const list = document.getElementById('moves').getBoundingClientRect();
    const last = document.querySelector('#moves .move.last').getBoundingClientRect();
    return { scrolled: document.getElementById('moves').scrollTop, inside: last.top >= list.top && last.bottom <= list.bottom };
  });
  assert.ok(view.scrolled > 0 && view.inside, JSON.stringify(view));
  assert.deepEqual((await shownRecord(game)).moves, nativeChinese(moves));
  await game.close();
});

test('a move made with the keys alone, another typed as C2.5, and the moves heard after the reply', async () => {
  const game = await Game.open(env, { seed: 606 });
  const page = game.page;
  // The menus' two titles, then the board.
  for (let i = 0; i < 3; i++) await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'board');
  const cursor = page.locator('#cursor');
  assert.ok(await cursor.isVisible(), 'the cursor shows on the focused board');

  // From the king (e0) to the knight (b0), up it, then to c2.
  await game.sounds();
  for (let i = 0; i < 3; i++) await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('Enter');
  await game.settle();
  assert.deepEqual(await game.sounds(), [300]);
  assert.equal(await page.locator('#cursor-state').textContent(), '拿起 b0 红马');
  await game.expectPicture(compose(START, { framed: ['b0'] }), 'keys-selected');
  await page.keyboard.press('ArrowUp');
  await page.keyboard.press('ArrowUp');
  await page.keyboard.press('ArrowRight');
  assert.equal(await page.locator('#cursor-state').textContent(), 'c2 空');
  // The cursor is drawn over the cell it names.
  const cell = await game.pagePoint(8 + 56 * 2 + 28, 8 + 56 * 7 + 28);
  const box = await cursor.boundingBox();
  assert.ok(Math.abs(box.x + box.width / 2 - cell.x) < 2 && Math.abs(box.y + box.height / 2 - cell.y) < 2,
    `cursor at ${JSON.stringify(box)}, the cell's centre at ${JSON.stringify(cell)}`);
  await page.keyboard.press('Space');
  await game.settle();
  const moves = ['b0c2', await game.replyAfter(START, ['b0c2'], 'keys-reply')];

  // A typed move, and one that reads as no legal move.
  await page.locator('#move-text').fill('C2.5');
  await page.keyboard.press('Enter');
  await game.settle();
  moves.push('h2e2', await game.replyAfter(START, [...moves, 'h2e2'], 'typed-reply'));
  assert.equal(await page.locator('#move-text').inputValue(), '', 'a move played leaves the field empty');
  const chinese = nativeChinese(moves);
  assert.deepEqual((await shownRecord(game)).moves, chinese);
  const heard = await page.locator('#announce').evaluate((region) => [...region.children].map((p) => p.textContent));
  assert.deepEqual(heard.slice(-2), [`你：${chinese[2]}`, `电脑：${chinese[3]}`]);
  assert.equal(await page.locator('#announce').getAttribute('aria-live'), 'polite');
  assert.match(await page.locator('#board-state').textContent(), /轮到你（红方）走棋/);

  await page.locator('#move-text').fill('C2.5');
  await page.keyboard.press('Enter');
  await game.settle();
  assert.equal(await page.locator('#record-note').textContent(), '“C2.5”不是当前局面的合法着法。');
  assert.deepEqual((await shownRecord(game)).moves, chinese, 'nothing was played');

  // The keys go back to the board after a menu and after a box, and the
  // arrows move between the two menus.
  await page.locator('#board').focus();
  await page.keyboard.press('Alt+g');
  await page.keyboard.press('ArrowRight');
  assert.equal(await page.locator('#menubar .menu.open .title').textContent(), '帮助(H)');
  await page.keyboard.press('ArrowLeft');
  assert.equal(await page.locator('#menubar .menu.open .title').textContent(), '游戏(G)');
  await page.keyboard.press('Escape');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'board');
  await page.keyboard.press('Alt+h');
  await page.keyboard.press('a');
  await game.box();
  await page.keyboard.press('Enter');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'board');

  // A clipboard that will not take the record gets the program's own box.
  await page.evaluate(() => Object.defineProperty(navigator, 'clipboard', {
    value: { writeText: () => Promise.reject(new DOMException('refused', 'NotAllowedError')) },
  }));
  await page.locator('#copy-record').click();
  assert.deepEqual(await game.box(), { caption: 'Lanterra', text: '无法打开剪贴板，请稍后再试。', icon: 'warning.svg', answers: [1] });
  await game.answer(1);
  await game.close();
});
