// The numbers the page shares with the C++ code, read from its headers: the
// resource and command ids (plain #defines, as the resource compiler reads
// them too) and the board's sizes (constexpr ints).
import fs from 'node:fs';

// NAME -> value of every `#define NAME 123` in a header.
export function readDefines(file) {
  const defines = new Map();
  for (const line of fs.readFileSync(file, 'latin1').split('\n')) {
    const m = /^#define\s+(\w+)\s+(\d+)\s*$/.exec(line.trim());
    if (m) defines.set(m[1], Number(m[2]));
  }
  return defines;
}

// NAME -> value of every integer constant a header declares with a plain
// number at the start of a line: `inline constexpr int A = 8;`, or several
// at once, `A = 3, B = 11;`. A constant computed from others is left out,
// so the page cannot import it and fails to load rather than use a guess.
export function readConstants(file) {
  const constants = new Map();
  const text = fs.readFileSync(file, 'latin1');
  for (const m of text.matchAll(/^\s*(?:(?:inline|static)\s+)*constexpr\s+int\s+([^;(]+);/gm)) {
    for (const declarator of m[1].split(',')) {
      const d = /^\s*(\w+)\s*=\s*(\d+)\s*$/.exec(declarator);
      if (d) constants.set(d[1], Number(d[2]));
    }
  }
  return constants;
}
