// What the browser tests share: a static server for the built page, Debian's
// Chromium through playwright-core, the game seen as a player sees it (the
// canvas, the menu, the boxes, the sounds), pictures composed from the
// resource bitmaps, and the native command-line tool as the judge of moves.
//
// Environment: WEB_SITE (the built page), WEB_ARTIFACTS (screenshots),
// LANTERRA_TOOL (the native tool), LANTERRA_ROOT (the source tree).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { chromium } from 'playwright-core';
import { encodePng } from '../tools/png.mjs';
import { startServer } from '../tools/static-server.mjs';

const here = path.dirname(new URL(import.meta.url).pathname);
export const ROOT = process.env.LANTERRA_ROOT || path.resolve(here, '../..');
export const SITE = process.env.WEB_SITE || path.join(ROOT, 'build-web/site');
export const ARTIFACTS = process.env.WEB_ARTIFACTS || path.join(ROOT, 'build-web/artifacts');
export const TOOL = process.env.LANTERRA_TOOL || path.join(ROOT, 'build/bin/lanterra');
fs.mkdirSync(ARTIFACTS, { recursive: true });

export const WIDTH = 520;
export const HEIGHT = 576;
const CELL = 56;
const MARGIN = 8;

export const SETUPS = [
  'rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1',
  'rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/R1BAKABNR w - - 0 1',
  'rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/R1BAKAB1R w - - 0 1',
  'rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/9/1C5C1/9/RN2K2NR w - - 0 1',
];

// ---------------------------------------------------- server and browser ---

export const CHROMIUM = {
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
};

export async function launch() {
  return chromium.launch(CHROMIUM);
}

// Starts the server and the browser once for a test file; returns the pair
// and a function that closes both.
export async function setUp() {
  const server = await startServer(SITE);
  const browser = await launch();
  return {
    base: server.base,
    browser,
    close: async () => {
      await browser.close();
      await server.close();
    },
  };
}

// ----------------------------------------------------------- the game ---

// The sounds the page plays, the audio it starts (by length in seconds) and
// the animation frames it draws are counted from the moment it loads.
const INSTRUMENTS = () => {
  window.lanterraSounds = [];
  document.addEventListener('lanterra:sound', (event) => window.lanterraSounds.push(event.detail.id));
  window.lanterraAudio = [];
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function startAndRecord(...args) {
    window.lanterraAudio.push(this.buffer.duration);
    return start.apply(this, args);
  };
  window.lanterraFrames = 0;
  const tick = () => {
    window.lanterraFrames += 1;
    requestAnimationFrame(tick);
  };
  requestAnimationFrame(tick);
};

export class Game {
  constructor(page, base) {
    this.page = page;
    this.base = base;
    this.flipped = false;
  }

  static async open(env, { seed = 1, context = {}, query = '' } = {}) {
    const browserContext = await env.browser.newContext(context);
    const page = await browserContext.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    page.on('console', (message) => {
      if (message.type() === 'error') errors.push(message.text());
    });
    await page.addInitScript(INSTRUMENTS);
    const game = new Game(page, env.base);
    game.errors = errors;
    game.context = browserContext;
    await page.goto(`${env.base}?seed=${seed}${query}`);
    await game.settle();
    return game;
  }

  // Closing also asserts that the page reported no error on the way.
  async close() {
    await this.context.close();
    assert.deepEqual(this.errors, [], 'errors on the page');
  }

  // Waits until the game has handled everything it was given.
  async settle(timeout = 60000) {
    await this.page.waitForFunction(() => document.documentElement.dataset.state === 'ready', null,
      { timeout, polling: 50 });
  }

  async sounds() {
    return this.page.evaluate(() => window.lanterraSounds.splice(0));
  }

  async audio() {
    return this.page.evaluate(() => window.lanterraAudio.splice(0));
  }

  // The canvas point of a board picture pixel, as a page coordinate.
  async pagePoint(x, y) {
    const box = await this.page.locator('#board').boundingBox();
    return { x: box.x + ((x + 0.5) * box.width) / WIDTH, y: box.y + ((y + 0.5) * box.height) / HEIGHT };
  }

  async clickAt(x, y) {
    const point = await this.pagePoint(x, y);
    await this.page.mouse.click(point.x, point.y);
    await this.settle();
  }

  // A square in ICCS terms ("h2"): the centre of the cell it is shown in.
  async clickSquare(square) {
    const cell = cellOf(square, this.flipped);
    await this.clickAt(cell.x + CELL / 2, cell.y + CELL / 2);
  }

  // The same with a finger.
  async tapSquare(square) {
    const cell = cellOf(square, this.flipped);
    const point = await this.pagePoint(cell.x + CELL / 2, cell.y + CELL / 2);
    await this.page.touchscreen.tap(point.x, point.y);
    await this.settle();
  }

  async move(iccs) {
    await this.clickSquare(iccs.slice(0, 2));
    await this.clickSquare(iccs.slice(2, 4));
  }

  async openMenuItem(id) {
    const item = this.page.locator(`[data-command="${id}"]`);
    // Open the menus on the way to the item, outermost first.
    const chain = await item.evaluate((element) => {
      const steps = [];
      for (let at = element.parentElement; at; at = at.parentElement) {
        if (at.classList.contains('submenu')) steps.unshift('submenu');
        if (at.classList.contains('menu')) {
          steps.unshift([...at.parentElement.children].indexOf(at));
          break;
        }
      }
      return steps;
    });
    const [menuIndex, ...rest] = chain;
    await this.page.locator('#menubar > .menu > .title').nth(menuIndex).click();
    let scope = this.page.locator('#menubar > .menu').nth(menuIndex);
    for (let i = 0; i < rest.length; i++) {
      const submenu = scope.locator('.submenu').filter({ has: item }).first();
      await submenu.locator(':scope > .label').click();
      scope = submenu;
    }
    return item;
  }

  async command(id) {
    const item = await this.openMenuItem(id);
    await item.click();
    await this.settle();
    if (id >= 405 && id <= 408) this.flipped = true;
    if (id >= 401 && id <= 404) this.flipped = false;
  }

  async menuState() {
    return this.page.evaluate(() => Object.fromEntries([...document.querySelectorAll('[data-command]')].map(
      (item) => [item.dataset.command, {
        checked: item.getAttribute('aria-checked') === 'true',
        disabled: item.getAttribute('aria-disabled') === 'true',
      }])));
  }

  // The open box: caption, text, icon file and its buttons' answers.
  async box(timeout = 60000) {
    const dialog = this.page.locator('dialog#box[open]');
    await dialog.waitFor({ timeout });
    return dialog.evaluate((element) => ({
      caption: element.querySelector('.caption').textContent,
      text: element.querySelector('#box-text').textContent,
      icon: element.querySelector('.icon').getAttribute('src'),
      answers: [...element.querySelectorAll('[data-answer]')].map((b) => Number(b.dataset.answer)),
    }));
  }

  async answer(value) {
    await this.page.locator(`dialog#box[open] [data-answer="${value}"]`).click();
    await this.settle();
  }

  async boxOpen() {
    return this.page.locator('dialog#box[open]').count().then((n) => n > 0);
  }

  async pixels() {
    const base64 = await this.page.evaluate(() => {
      const data = document.getElementById('board').getContext('2d').getImageData(0, 0, 520, 576).data;
      let text = '';
      for (let i = 0; i < data.length; i += 0x8000) {
        text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
      }
      return btoa(text);
    });
    return new Uint8Array(Buffer.from(base64, 'base64'));
  }

  // The computer's reply after moves from fen, read off the board: the two
  // framed cells, from the one that held a piece of the side to move. The
  // whole picture must then be that position with those frames.
  async replyAfter(fen, moves, name = 'reply') {
    const before = after(fen, moves);
    const pixels = await this.pixels();
    const keep = () => writePng(path.join(ARTIFACTS, `${name}-actual.png`), WIDTH, HEIGHT, pixels);
    const framed = framedSquares(pixels, this.flipped);
    if (framed.length !== 2) keep();
    assert.equal(framed.length, 2, `${name}: framed cells ${framed}`);
    const red = before.split(' ')[1] === 'w';
    const pieces = placement(before);
    const ownsPiece = (square) => pieces[square] && (pieces[square] === pieces[square].toUpperCase()) === red;
    const from = framed.find(ownsPiece);
    if (!from) keep();
    assert.ok(from, `${name}: neither framed cell ${framed} held a piece of the side to move`);
    const reply = from + framed.find((square) => square !== from);
    const expected = compose(after(fen, [...moves, reply]), { flipped: this.flipped, framed });
    const differing = differingPixels(pixels, expected);
    if (differing) keep();
    assert.equal(differing, 0, `${name}: the board after ${reply} differs in ${differing} pixels`);
    return reply;
  }

  async screenshot(name) {
    await this.page.screenshot({ path: path.join(ARTIFACTS, `${name}.png`) });
  }

  // The canvas must show exactly the composed picture.
  async expectPicture(expected, name) {
    const actual = await this.pixels();
    const differing = differingPixels(actual, expected);
    if (differing > 0) {
      writePng(path.join(ARTIFACTS, `${name}-expected.png`), WIDTH, HEIGHT, expected);
      writePng(path.join(ARTIFACTS, `${name}-actual.png`), WIDTH, HEIGHT, actual);
    }
    assert.equal(differing, 0, `${name}: ${differing} pixels differ from the composed picture`);
  }
}

// ------------------------------------------------------------- squares ---

// ICCS square ("h2": file a..i from red's left, rank 0..9 from red's side) to
// the top-left corner of the cell that shows it.
export function cellOf(square, flipped) {
  let column = square.charCodeAt(0) - 97;
  let row = 9 - Number(square[1]);
  if (flipped) {
    column = 8 - column;
    row = 9 - row;
  }
  return { x: MARGIN + CELL * column, y: MARGIN + CELL * row };
}

// ------------------------------------------------------------ pictures ---

function readBmp(file) {
  const data = fs.readFileSync(file);
  const offset = data.readUInt32LE(10);
  const headerSize = data.readUInt32LE(14);
  const width = data.readInt32LE(18);
  const height = data.readInt32LE(22);
  assert.equal(data.readUInt16LE(28), 8, `${file}: 8-bit pictures expected`);
  const stride = (width + 3) & ~3;
  const rgba = new Uint8Array(width * Math.abs(height) * 4);
  for (let y = 0; y < Math.abs(height); y++) {
    const row = offset + stride * (height > 0 ? height - 1 - y : y);
    for (let x = 0; x < width; x++) {
      const p = 14 + headerSize + 4 * data[row + x];
      rgba.set([data[p + 2], data[p + 1], data[p], 255], 4 * (y * width + x));
    }
  }
  return { width, height: Math.abs(height), rgba };
}

const pictureCache = new Map();
function picture(name) {
  if (!pictureCache.has(name)) pictureCache.set(name, readBmp(path.join(ROOT, 'resources/bitmaps', `${name}.bmp`)));
  return pictureCache.get(name);
}

const PIECE_NAMES = { k: 'king', a: 'advisor', b: 'bishop', e: 'bishop', n: 'knight', h: 'knight', r: 'rook', c: 'cannon', p: 'pawn' };

// The pieces of a FEN by ICCS square.
export function placement(fen) {
  const pieces = {};
  fen.split(' ')[0].split('/').forEach((row, i) => {
    let file = 0;
    for (const c of row) {
      if (/\d/.test(c)) {
        file += Number(c);
      } else {
        pieces[String.fromCharCode(97 + file) + (9 - i)] = c;
        file += 1;
      }
    }
  });
  return pieces;
}

// The window's picture of a position: the board, each piece and each framed
// cell drawn over it with pure green left out.
export function compose(fen, { flipped = false, framed = [] } = {}) {
  const out = picture('board').rgba.slice();
  const sprite = (square, name) => {
    const { x, y } = cellOf(square, flipped);
    const src = picture(name).rgba;
    for (let dy = 0; dy < CELL; dy++) {
      for (let dx = 0; dx < CELL; dx++) {
        const s = 4 * (dy * CELL + dx);
        if (src[s] === 0 && src[s + 1] === 255 && src[s + 2] === 0) continue;
        out.set(src.subarray(s, s + 4), 4 * ((y + dy) * WIDTH + x + dx));
      }
    }
  };
  for (const [square, letter] of Object.entries(placement(fen))) {
    const side = letter === letter.toUpperCase() ? 'red' : 'black';
    sprite(square, `${side}-${PIECE_NAMES[letter.toLowerCase()]}`);
  }
  for (const square of framed) sprite(square, 'frame');
  return out;
}

export function differingPixels(a, b) {
  let n = 0;
  for (let i = 0; i < a.length; i += 4) {
    if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) n += 1;
  }
  return n;
}

// Which cells carry the frame, judged from the picture: every opaque pixel
// of the frame bitmap is there.
export function framedSquares(pixels, flipped) {
  const frame = picture('frame').rgba;
  const squares = [];
  for (let file = 0; file < 9; file++) {
    for (let rank = 0; rank < 10; rank++) {
      const square = String.fromCharCode(97 + file) + rank;
      const { x, y } = cellOf(square, flipped);
      let all = true;
      for (let i = 0; i < CELL * CELL && all; i++) {
        if (frame[4 * i] === 0 && frame[4 * i + 1] === 255 && frame[4 * i + 2] === 0) continue;
        const t = 4 * ((y + Math.floor(i / CELL)) * WIDTH + x + (i % CELL));
        all = pixels[t] === frame[4 * i] && pixels[t + 1] === frame[4 * i + 1] && pixels[t + 2] === frame[4 * i + 2];
      }
      if (all) squares.push(square);
    }
  }
  return squares;
}

function writePng(file, width, height, rgba) {
  fs.writeFileSync(file, encodePng(width, height, rgba));
}

// ---------------------------------------------------------- the judge ---

// The native engine's decision, as `lanterra think` prints it.
export function think(fen, { level = 3, seed = 1, moves = [] } = {}) {
  const args = ['think', '--level', String(level), '--seed', String(seed), fen];
  if (moves.length) args.push('moves', ...moves);
  const line = execFileSync(TOOL, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] });
  return line.split(' ')[1];
}

// The position after moves, as FEN.
export function after(fen, moves) {
  const input = `position fen ${fen}${moves.length ? ` moves ${moves.join(' ')}` : ''}\nd\nquit\n`;
  const out = execFileSync(TOOL, ['ucci'], { input, encoding: 'utf8' });
  const line = out.split('\n').find((l) => l.startsWith('info string'));
  assert.match(line, /^info string fen /, `the tool refused ${moves.join(' ')}: ${line}`);
  return line.slice('info string fen '.length);
}

// Pseudo-legal moves of the side to move, and which of them leave its king
// attacked.
export function movesOf(fen) {
  const out = execFileSync(TOOL, ['moves', fen], { encoding: 'utf8' });
  const lines = out.trim().split('\n').slice(0, -1);
  return {
    legal: lines.filter((l) => !l.includes('refused')),
    refused: lines.filter((l) => l.includes('refused')).map((l) => l.split(' ')[0]),
  };
}

// The length in seconds of a WAVE resource.
export function soundLength(name) {
  const data = fs.readFileSync(path.join(ROOT, 'resources/sounds', `${name}.wav`));
  let rate = 0;
  let bytesPerSecond = 0;
  for (let at = 12; at + 8 <= data.length; at += 8 + data.readUInt32LE(at + 4)) {
    const id = data.toString('latin1', at, at + 4);
    if (id === 'fmt ') {
      rate = data.readUInt32LE(at + 12);
      bytesPerSecond = data.readUInt32LE(at + 16);
    }
    if (id === 'data') return data.readUInt32LE(at + 4) / bytesPerSecond;
  }
  throw new Error(`${name}.wav has no data (rate ${rate})`);
}

// The texts the page shows, decoded from the same GBK bytes.
export const gbk = new TextDecoder('gbk');
