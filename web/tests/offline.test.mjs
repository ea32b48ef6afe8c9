// The page a player keeps: once loaded it opens and plays with the server
// gone, a new build at the same address takes over after a reload and
// removes the old one's files, and Chromium finds it installable.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after as afterAll, before, test } from 'node:test';
import { chromium } from 'playwright-core';
import { stampServiceWorker } from '../tools/service-worker.mjs';
import { startServer } from '../tools/static-server.mjs';
import { CHROMIUM, Game, launch, ROOT, SETUPS, SITE } from './harness.mjs';

let browser;
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'lanterra-offline-'));
before(async () => { browser = await launch(); });
afterAll(async () => {
  await browser.close();
  fs.rmSync(scratch, { recursive: true, force: true });
});

// Resolves once the service worker has cached every file and serves the page.
const kept = (page) => page.evaluate(async () => {
  await navigator.serviceWorker.ready;
  if (!navigator.serviceWorker.controller) {
    await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve));
  }
});
const cacheNames = (page) => page.evaluate(() => caches.keys());

test('once loaded, the game opens and plays with the server stopped', async () => {
  const server = await startServer(SITE);
  const game = await Game.open({ browser, base: server.base }, { seed: 31 });
  await kept(game.page);
  await server.close();

  await game.page.reload();
  await game.settle();
  await game.move('h2e2');
  assert.ok(await game.replyAfter(SETUPS[0], ['h2e2'], 'offline-reply'));
  await game.screenshot('offline-reply');
  await game.close();
});

// The next build: the same site with a different title, and its service
// worker stamped anew from the changed files, as make-site stamps it.
function nextBuild() {
  const next = path.join(scratch, 'next');
  fs.cpSync(SITE, next, { recursive: true });
  const page = path.join(next, 'index.html');
  fs.writeFileSync(page, fs.readFileSync(page, 'utf8').replace('<title>Lanterra</title>', '<title>Lanterra next</title>'));
  const files = new Map();
  for (const name of fs.readdirSync(next, { recursive: true })) {
    const full = path.join(next, name);
    if (name !== 'service-worker.js' && fs.statSync(full).isFile()) files.set(name.split(path.sep).join('/'), fs.readFileSync(full));
  }
  const template = fs.readFileSync(path.join(ROOT, 'web/site/service-worker.js'), 'utf8');
  fs.writeFileSync(path.join(next, 'service-worker.js'), stampServiceWorker(template, files));
  return next;
}

test('a new build at the same address runs after a reload, and the old build\'s cache is gone', async () => {
  const server = await startServer(SITE);
  const game = await Game.open({ browser, base: server.base }, { seed: 32 });
  await kept(game.page);
  const [old] = await cacheNames(game.page);

  server.serve(nextBuild());
  await game.page.reload();
  await game.page.waitForFunction(() => document.title === 'Lanterra next', null, { timeout: 60000 });
  await game.settle();
  const caches = await cacheNames(game.page);
  assert.equal(caches.length, 1, `caches ${caches}`);
  assert.notEqual(caches[0], old);
  await game.sounds();
  await game.clickSquare('h2');
  assert.deepEqual(await game.sounds(), [300], 'the new build plays');
  await game.close();
  await server.close();
});

test('Chromium reports the page installable', async () => {
  const server = await startServer(SITE);
  // An ordinary profile on disk: a throwaway one counts as incognito,
  // where nothing is installed.
  const context = await chromium.launchPersistentContext(path.join(scratch, 'profile'), CHROMIUM);
  try {
    const page = context.pages()[0] || await context.newPage();
    await page.goto(server.base);
    await kept(page);
    const devtools = await context.newCDPSession(page);
    const manifest = await devtools.send('Page.getAppManifest');
    assert.deepEqual(manifest.errors, [], 'the manifest reads without errors');
    const { installabilityErrors } = await devtools.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
  } finally {
    await context.close();
    await server.close();
  }
});
