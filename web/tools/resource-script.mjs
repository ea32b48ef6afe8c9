// What the page takes from the Windows program's resource script: the
// bitmaps, icons and sounds with their ids, and the menu. The script is
// written in UTF-8 (the resource compiler turns it into GBK).
import fs from 'node:fs';

const KINDS = { BITMAP: 'bitmaps', ICON: 'icons', WAVE: 'sounds' };

export class ResourceScript {
  // defines: the ids of resource_ids.h, which the script names its
  // resources and commands by.
  constructor(file, defines) {
    const text = new TextDecoder('utf-8', { fatal: true }).decode(fs.readFileSync(file));
    this.defines = defines;
    this.lines = text.split(/\r?\n/).map((l) => l.trim())
      .filter((l) => l && !l.startsWith('//') && !l.startsWith('#'));
  }

  id(token) {
    if (/^\d+$/.test(token)) return Number(token);
    if (this.defines.has(token)) return this.defines.get(token);
    throw new Error(`unknown resource id ${token}`);
  }

  // Every `NAME BITMAP|ICON|WAVE "file"`, as { kind, id, file }, kind being
  // the folder under resources/ that holds the file.
  resources() {
    const found = [];
    for (const line of this.lines) {
      const m = /^(\w+)\s+(BITMAP|ICON|WAVE)\s+"([^"]+)"$/.exec(line);
      if (m) found.push({ kind: KINDS[m[2]], id: this.id(m[1]), file: m[3] });
    }
    return found;
  }

  // The menu: POPUP "label" BEGIN ... END, MENUITEM "label", id and
  // MENUITEM SEPARATOR, as a tree of { label, id }, { label, items } and
  // { separator: true }.
  menu() {
    const lines = this.lines;
    let i = lines.findIndex((l) => /^\w+\s+MENU$/.test(l));
    if (i < 0) throw new Error('no MENU in the resource script');
    i += 1;
    const block = () => {
      if (lines[i++] !== 'BEGIN') throw new Error(`expected BEGIN at "${lines[i - 1]}"`);
      const items = [];
      while (lines[i] !== 'END') {
        const line = lines[i++];
        let m;
        if (line === 'MENUITEM SEPARATOR') {
          items.push({ separator: true });
        } else if ((m = /^MENUITEM\s+"([^"]*)",\s*(\w+)$/.exec(line))) {
          items.push({ label: m[1], id: this.id(m[2]) });
        } else if ((m = /^POPUP\s+"([^"]*)"$/.exec(line))) {
          items.push({ label: m[1], items: block() });
        } else {
          throw new Error(`cannot read menu line "${line}"`);
        }
        if (i >= lines.length) throw new Error('menu without END');
      }
      i += 1;
      return items;
    };
    return block();
  }
}
