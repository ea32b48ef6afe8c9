// Lays out the page beside the compiled module:
//   node web/tools/make-site.mjs ROOT SITE
// The menu and the resource files are read from the Windows program's
// resource script (app/win32/lanterra.rc, written in UTF-8 and compiled into
// the program as GBK), so the page shows the same menu items and loads the
// same pictures and sounds under the same ids.
// Bitmaps and sounds are copied as they are; icons become PNG pictures of
// their 32-pixel image, the size a message box shows.
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

const [root, site] = process.argv.slice(2);
if (!root || !site) {
  console.error('usage: make-site.mjs ROOT SITE');
  process.exit(2);
}
const win32Dir = path.join(root, 'app', 'win32');
const resourceDir = path.join(root, 'resources');
const pageDir = path.join(root, 'web', 'site');

function fail(message) {
  console.error(`make-site: ${message}`);
  process.exit(1);
}

// ------------------------------------------------------ resource script ---

function readDefines(file) {
  const defines = new Map();
  for (const line of fs.readFileSync(file, 'latin1').split('\n')) {
    const m = /^#define\s+(\w+)\s+(\d+)\s*$/.exec(line.trim());
    if (m) defines.set(m[1], Number(m[2]));
  }
  return defines;
}

const defines = readDefines(path.join(root, 'app', 'resource_ids.h'));
const script = new TextDecoder('utf-8', { fatal: true }).decode(fs.readFileSync(path.join(win32Dir, 'lanterra.rc')));
const lines = script.split(/\r?\n/).map((l) => l.trim()).filter((l) => l && !l.startsWith('//') && !l.startsWith('#'));

function resourceId(token) {
  if (/^\d+$/.test(token)) return Number(token);
  if (defines.has(token)) return defines.get(token);
  fail(`unknown resource id ${token}`);
}

const resources = { bitmaps: {}, icons: {}, sounds: {} };
const sourceFiles = { bitmaps: {}, icons: {}, sounds: {} };
const kinds = { BITMAP: ['bitmaps', 'bitmaps'], ICON: ['icons', 'icons'], WAVE: ['sounds', 'sounds'] };
for (const line of lines) {
  const m = /^(\w+)\s+(BITMAP|ICON|WAVE)\s+"([^"]+)"$/.exec(line);
  if (!m) continue;
  const [kind, folder] = kinds[m[2]];
  const id = resourceId(m[1]);
  const source = path.join(resourceDir, folder, m[3]);
  if (!fs.existsSync(source)) fail(`missing resource file ${source}`);
  sourceFiles[kind][id] = source;
  resources[kind][id] = kind === 'icons' ? `icons/${id}.png` : `${folder}/${m[3]}`;
}

// The menu: POPUP "label" BEGIN ... END, MENUITEM "label", id, MENUITEM SEPARATOR.
function parseMenu() {
  let i = lines.findIndex((l) => /^\w+\s+MENU$/.test(l));
  if (i < 0) fail('no MENU in the resource script');
  i += 1;
  function block() {
    if (lines[i++] !== 'BEGIN') fail(`expected BEGIN at "${lines[i - 1]}"`);
    const items = [];
    while (lines[i] !== 'END') {
      const line = lines[i++];
      let m;
      if (line === 'MENUITEM SEPARATOR') {
        items.push({ separator: true });
      } else if ((m = /^MENUITEM\s+"([^"]*)",\s*(\w+)$/.exec(line))) {
        items.push({ label: m[1], id: resourceId(m[2]) });
      } else if ((m = /^POPUP\s+"([^"]*)"$/.exec(line))) {
        items.push({ label: m[1], items: block() });
      } else {
        fail(`cannot read menu line "${line}"`);
      }
      if (i >= lines.length) fail('menu without END');
    }
    i += 1;
    return items;
  }
  return block();
}

// A page cannot close its own tab, so the Exit item is left out, and with it
// a separator that would then end its menu.
function withoutExit(items) {
  const kept = items
    .filter((item) => item.id !== defines.get('IDC_EXIT'))
    .map((item) => (item.items ? { ...item, items: withoutExit(item.items) } : item));
  while (kept.length && kept[kept.length - 1].separator) kept.pop();
  return kept;
}

const escapeHtml = (s) => s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');

// "难度(&L)": the letter after & is underlined and is the item's key.
function labelHtml(label) {
  const m = /&(.)/.exec(label);
  if (!m) return { html: escapeHtml(label), key: '' };
  const before = label.slice(0, m.index);
  const after = label.slice(m.index + 2);
  return {
    html: `${escapeHtml(before)}<u>${escapeHtml(m[1])}</u>${escapeHtml(after)}`,
    key: m[1].toLowerCase(),
  };
}

// The level items and the sound item carry check marks; the levels are one
// choice among seven.
function roleOf(id) {
  if (id >= defines.get('IDC_LEVEL_FIRST') && id <= defines.get('IDC_LEVEL_LAST')) return 'menuitemradio';
  if (id === defines.get('IDC_SOUND')) return 'menuitemcheckbox';
  return 'menuitem';
}

function popupHtml(items, depth) {
  const pad = '  '.repeat(depth);
  const out = [`${pad}<ul class="popup" role="menu">`];
  for (const item of items) {
    if (item.separator) {
      out.push(`${pad}  <li class="separator" role="separator"></li>`);
      continue;
    }
    const { html, key } = labelHtml(item.label);
    if (item.items) {
      out.push(`${pad}  <li class="item submenu" role="menuitem" tabindex="-1" aria-haspopup="menu" aria-expanded="false" data-key="${key}">` +
        `<span class="mark"></span><span class="label">${html}</span><span class="arrow"></span>`);
      out.push(popupHtml(item.items, depth + 2));
      out.push(`${pad}  </li>`);
    } else {
      const role = roleOf(item.id);
      const checked = role === 'menuitem' ? '' : ' aria-checked="false"';
      out.push(`${pad}  <li class="item" role="${role}" tabindex="-1" data-command="${item.id}" data-key="${key}"${checked}>` +
        `<span class="mark"></span><span class="label">${html}</span></li>`);
    }
  }
  out.push(`${pad}</ul>`);
  return out.join('\n');
}

function menuBarHtml(menus) {
  const out = ['<nav id="menubar" role="menubar">'];
  for (const menu of menus) {
    if (!menu.items) fail('a top-level menu entry must be a popup');
    const { html, key } = labelHtml(menu.label);
    out.push(`  <div class="menu">`);
    out.push(`    <button type="button" class="title" role="menuitem" aria-haspopup="menu" aria-expanded="false" data-key="${key}">${html}</button>`);
    out.push(popupHtml(menu.items, 2));
    out.push('  </div>');
  }
  out.push('</nav>');
  return out.join('\n');
}

// ---------------------------------------------------------------- icons ---

function pngOf(width, height, rgba) {
  const rows = Buffer.alloc((width * 4 + 1) * height);
  for (let y = 0; y < height; y++) {
    rows[y * (width * 4 + 1)] = 0;
    rgba.copy(rows, y * (width * 4 + 1) + 1, y * width * 4, (y + 1) * width * 4);
  }
  const chunk = (type, data) => {
    const head = Buffer.alloc(8);
    head.writeUInt32BE(data.length, 0);
    head.write(type, 4, 'latin1');
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(zlib.crc32(Buffer.concat([head.subarray(4), data])) >>> 0, 0);
    return Buffer.concat([head, data, crc]);
  };
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header[8] = 8;  // bits per channel
  header[9] = 6;  // RGBA
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', header),
    chunk('IDAT', zlib.deflateSync(rows, { level: 9 })),
    chunk('IEND', Buffer.alloc(0)),
  ]);
}

// The 32-pixel image of an icon file, as PNG bytes. Images stored as PNG are
// taken as they are; the others must be 32-bit bottom-up bitmaps with alpha.
function iconPng(file, size) {
  const data = fs.readFileSync(file);
  if (data.readUInt16LE(0) !== 0 || data.readUInt16LE(2) !== 1) fail(`${file} is not an icon file`);
  const count = data.readUInt16LE(4);
  for (let n = 0; n < count; n++) {
    const entry = 6 + 16 * n;
    const width = data[entry] || 256;
    if (width !== size) continue;
    const length = data.readUInt32LE(entry + 8);
    const offset = data.readUInt32LE(entry + 12);
    const image = data.subarray(offset, offset + length);
    if (image.subarray(0, 4).equals(Buffer.from([0x89, 0x50, 0x4e, 0x47]))) return Buffer.from(image);
    const headerSize = image.readUInt32LE(0);
    const height = image.readInt32LE(8) / 2;
    if (image.readUInt16LE(14) !== 32 || height !== size) fail(`${file}: only 32-bit images are read`);
    const rgba = Buffer.alloc(size * size * 4);
    for (let y = 0; y < size; y++) {
      for (let x = 0; x < size; x++) {
        const s = headerSize + 4 * ((size - 1 - y) * size + x);
        const d = 4 * (y * size + x);
        rgba[d] = image[s + 2];
        rgba[d + 1] = image[s + 1];
        rgba[d + 2] = image[s];
        rgba[d + 3] = image[s + 3];
      }
    }
    return pngOf(size, size, rgba);
  }
  fail(`${file} has no ${size}-pixel image`);
}

// ------------------------------------------------------------- the site ---

const ICON_SIZE = 32;
fs.mkdirSync(site, { recursive: true });
for (const kind of Object.keys(sourceFiles)) {
  for (const [id, source] of Object.entries(sourceFiles[kind])) {
    const target = path.join(site, resources[kind][id]);
    fs.mkdirSync(path.dirname(target), { recursive: true });
    if (kind === 'icons') {
      fs.writeFileSync(target, iconPng(source, ICON_SIZE));
    } else {
      fs.copyFileSync(source, target);
    }
  }
}

const menu = menuBarHtml(withoutExit(parseMenu()));
const template = fs.readFileSync(path.join(pageDir, 'index.html'), 'utf8');
if (!template.includes('<!-- menu -->') || !template.includes('<!-- resources -->')) {
  fail('index.html lacks the menu or resources marker');
}
const resourceJson = JSON.stringify(resources).replace(/</g, '\\u003c');
fs.writeFileSync(
  path.join(site, 'index.html'),
  template
    .replace('<!-- menu -->', menu)
    .replace('<!-- resources -->', `<script type="application/json" id="resources">${resourceJson}</script>`),
);
for (const name of fs.readdirSync(pageDir)) {
  if (name !== 'index.html') fs.copyFileSync(path.join(pageDir, name), path.join(site, name));
}
