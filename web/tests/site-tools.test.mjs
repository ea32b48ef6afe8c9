// The numbers the page takes from the C++ headers through ids.js: what the
// header reader reads, and the build stopping on a name the page imports
// but no header defines, or on one name with two values. Then make-site
// itself: the service worker's list and version of the files it writes.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, test } from 'node:test';
import { readConstants, readDefines } from '../tools/headers.mjs';
import { checkImports, idsModule } from '../tools/ids-module.mjs';
import { ResourceScript } from '../tools/resource-script.mjs';

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'lanterra-site-tools-'));
const write = (name, text) => {
  fs.writeFileSync(path.join(scratch, name), text);
  return path.join(scratch, name);
};
after(() => fs.rmSync(scratch, { recursive: true, force: true }));

test('integer constants are read one or several to a line; computed ones and functions are left out', () => {
  const header = write('geometry.h', [
    'inline constexpr int WIDTH = 520;',
    '  constexpr int FIRST = 3, LAST = 11;',
    'static constexpr int AREA = WIDTH * 2;',
    'inline constexpr int EDGE = 8, TWICE = EDGE * 2;',
    'constexpr int Twice(int x) { return 2 * x; }',
    '// constexpr int COMMENTED = 1;',
  ].join('\n'));
  assert.deepEqual(Object.fromEntries(readConstants(header)), { WIDTH: 520, FIRST: 3, LAST: 11, EDGE: 8 });
});

test('ids.js writes a name met twice once, and refuses one name with two values', () => {
  const ids = new Map([['IDB_BOARD', 200], ['CELL_SIZE', 56]]);
  const { text, names } = idsModule([{ source: 'a.h', constants: ids }, { source: 'b.h', constants: new Map([['CELL_SIZE', 56]]) }]);
  assert.equal(text.match(/export const CELL_SIZE = 56;/g).length, 1);
  assert.deepEqual([...names], ['IDB_BOARD', 'CELL_SIZE']);
  assert.throws(() => idsModule([{ source: 'a.h', constants: ids }, { source: 'b.h', constants: new Map([['CELL_SIZE', 55]]) }]),
    /CELL_SIZE is 56 in one source and 55 in b\.h/);
});

test('a page module importing a name no header defines stops the build', () => {
  const page = fs.mkdtempSync(path.join(scratch, 'page-'));
  fs.writeFileSync(path.join(page, 'board.js'), "import {\n  CELL_SIZE,\n  IDB_BOARD as BOARD,\n} from './ids.js';\n");
  assert.doesNotThrow(() => checkImports(page, new Set(['CELL_SIZE', 'IDB_BOARD'])));
  assert.throws(() => checkImports(page, new Set(['CELL_SIZE'])), /board\.js imports IDB_BOARD/);
});

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');

// The page's help explains the menu by its items' own labels, so an item
// renamed or added in the program shows here as a help page gone stale.
test('the help page names every item of the menu as the menu shows it', () => {
  const script = new ResourceScript(path.join(root, 'app/win32/lanterra.rc'),
    readDefines(path.join(root, 'app/resource_ids.h')));
  const help = fs.readFileSync(path.join(root, 'web/site/help.html'), 'utf8');
  const labels = [];
  const walk = (items) => {
    for (const item of items) {
      if (item.separator) continue;
      labels.push(item.label.replace(/\(&\w\)$/, ''));
      if (item.items) walk(item.items);
    }
  };
  walk(script.menu());
  assert.ok(labels.length > 30, `${labels.length} items`);
  assert.deepEqual(labels.filter((label) => !help.includes(label)), []);
});

// make-site over the real sources, with stand-ins for the compiled module.
function makeSite(moduleFiles) {
  const moduleDir = fs.mkdtempSync(path.join(scratch, 'module-'));
  for (const name of moduleFiles) fs.writeFileSync(path.join(moduleDir, name), `// ${name}\n`);
  const site = fs.mkdtempSync(path.join(scratch, 'site-'));
  const run = spawnSync(process.execPath, [path.join(root, 'web/tools/make-site.mjs'), root, moduleDir, site],
    { encoding: 'utf8' });
  return { site, run };
}

test('the service worker lists every file of the site, and a rebuild of the same sources is no new version', () => {
  const first = makeSite(['lanterra.js', 'lanterra.wasm']);
  const second = makeSite(['lanterra.js', 'lanterra.wasm']);
  assert.equal(first.run.status, 0, first.run.stderr);
  const worker = fs.readFileSync(path.join(first.site, 'service-worker.js'), 'utf8');
  const listed = JSON.parse(/const FILES = (\[.*\]);/.exec(worker)[1]);
  const written = fs.readdirSync(first.site, { recursive: true })
    .filter((name) => fs.statSync(path.join(first.site, name)).isFile() && name !== 'service-worker.js')
    .map((name) => name.split(path.sep).join('/')).sort();
  assert.deepEqual(listed, written);
  assert.match(worker, /const VERSION = '[0-9a-f]{16}';/);
  assert.equal(fs.readFileSync(path.join(second.site, 'service-worker.js'), 'utf8'), worker);
});

test('a compiled module without its WebAssembly stops the build before it writes anything', () => {
  const { site, run } = makeSite(['lanterra.js']);
  assert.equal(run.status, 1);
  assert.match(run.stderr, /make-site: the compiled module lacks .*lanterra\.wasm/);
  assert.deepEqual(fs.readdirSync(site), []);
});
