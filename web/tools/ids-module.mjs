// ids.js, the one file the page takes its numbers from: the resource and
// command ids and the board's sizes as the C++ headers define them, under
// the same names, so the page and the program cannot drift apart.
import fs from 'node:fs';
import path from 'node:path';

// The message box styles and buttons as Windows numbers them. The bridge
// sends a box's style and reads the button pressed in these numbers, and
// no header the web build compiles names them, so they are written here.
export const MESSAGE_BOX_NUMBERS = new Map([
  ['MB_OK', 0], ['MB_YESNO', 4], ['IDOK', 1], ['IDYES', 6], ['IDNO', 7],
]);

// sections: [{ source, constants: Map NAME -> number }], each written under
// a comment naming where it came from. A name given twice is written once,
// and with two values it is an error, not a silent choice.
export function idsModule(sections) {
  const seen = new Map();
  const out = ['// Written by web/tools/make-site.mjs; edit the sources named below instead.'];
  for (const { source, constants } of sections) {
    out.push('', `// ${source}`);
    for (const [name, value] of constants) {
      if (seen.has(name)) {
        if (seen.get(name) === value) continue;
        throw new Error(`${name} is ${seen.get(name)} in one source and ${value} in ${source}`);
      }
      seen.set(name, value);
      out.push(`export const ${name} = ${value};`);
    }
  }
  return { text: `${out.join('\n')}\n`, names: new Set(seen.keys()) };
}

// Every name the page's modules import from ids.js must be there: a
// constant renamed in a header then stops the build with its name instead
// of leaving a page that fails to load.
export function checkImports(pageDir, names) {
  for (const file of fs.readdirSync(pageDir).filter((name) => name.endsWith('.js'))) {
    const text = fs.readFileSync(path.join(pageDir, file), 'utf8');
    for (const m of text.matchAll(/import\s*\{([^}]*)\}\s*from\s*'\.\/ids\.js'/g)) {
      for (const name of m[1].split(',').map((s) => s.trim().split(/\s+as\s+/)[0]).filter(Boolean)) {
        if (!names.has(name)) throw new Error(`${file} imports ${name}, which no header defines`);
      }
    }
  }
}
