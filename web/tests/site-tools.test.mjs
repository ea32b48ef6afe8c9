// The numbers the page takes from the C++ headers through ids.js: what the
// header reader reads, and the build stopping on a name the page imports
// but no header defines, or on one name with two values.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, test } from 'node:test';
import { readConstants } from '../tools/headers.mjs';
import { checkImports, idsModule } from '../tools/ids-module.mjs';

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
