// Lays out the page around the compiled module:
//   node web/tools/make-site.mjs ROOT MODULE SITE
// MODULE holds the compiled module (lanterra.js and lanterra.wasm); SITE
// receives every file of the page, the module's included.
// The menu and the resource files are read from the Windows program's
// resource script, so the page shows the same menu items and loads the same
// pictures and sounds under the same ids; the ids and the board's sizes the
// page's scripts use are written into ids.js from the C++ headers.
// Bitmaps become PNG pictures of the same pixels, sounds are copied as they
// are, icons become PNG pictures of their 32-pixel image, the size a
// message box shows. Last comes the service worker, stamped with the list
// of the site's files and a version drawn from their contents.
import fs from 'node:fs';
import path from 'node:path';
import { readConstants, readDefines } from './headers.mjs';
import { checkImports, idsModule, MESSAGE_BOX_NUMBERS } from './ids-module.mjs';
import { menuBarHtml, withoutItem } from './menu-html.mjs';
import { bitmapPictures } from './pictures.mjs';
import { iconPng } from './png.mjs';
import { ResourceScript } from './resource-script.mjs';
import { stampServiceWorker } from './service-worker.mjs';

// Where the sources are, from ROOT.
const RESOURCE_IDS = 'app/resource_ids.h';
const BOARD_GEOMETRY = 'app/board_geometry.h';
const RESOURCE_SCRIPT = 'app/win32/lanterra.rc';
const RESOURCE_DIR = 'resources';
const PAGE_DIR = 'web/site';

const ICON_SIZE = 32;
const MODULE_FILES = ['lanterra.js', 'lanterra.wasm'];
// Page files that are not copied as they are.
const PAGE = 'index.html';
const STYLE = 'lanterra.css';
const MANIFEST = 'lanterra.webmanifest';
const SERVICE_WORKER = 'service-worker.js';
// The module that paints the board first.
const FIRST_PAINT = 'first-paint.js';

// The resource files of the site, added to files (site name -> bytes), and
// the page's table of them: kind -> id -> the file's address in the site
// (for bitmaps, the part of a file that holds the picture).
function addResources(root, script, cellSize, files) {
  const found = script.resources().map((resource) => ({
    ...resource, source: path.join(root, RESOURCE_DIR, resource.kind, resource.file),
  }));
  const missing = found.find(({ source }) => !fs.existsSync(source));
  if (missing) throw new Error(`missing resource file ${missing.source}`);
  const pictures = bitmapPictures(found.filter(({ kind }) => kind === 'bitmaps'), cellSize);
  for (const [name, bytes] of pictures.files) files.set(name, bytes);
  const table = { bitmaps: pictures.table, icons: {}, sounds: {} };
  for (const { kind, id, file, source } of found) {
    if (kind === 'icons') {
      table.icons[id] = `icons/${id}.png`;
      files.set(table.icons[id], iconPng(source, ICON_SIZE));
    } else if (kind === 'sounds') {
      table.sounds[id] = `sounds/${file}`;
      files.set(table.sounds[id], fs.readFileSync(source));
    }
  }
  return table;
}

// The home-screen icons the manifest names, from the resource folder's
// icons under the same file names.
function addManifestIcons(root, manifest, files) {
  let icons;
  try {
    ({ icons } = JSON.parse(manifest));
  } catch (error) {
    throw new Error(`${MANIFEST}: ${error.message}`);
  }
  for (const { src } of icons || []) {
    const source = path.join(root, RESOURCE_DIR, 'icons', path.basename(src));
    if (!src.startsWith('icons/') || !fs.existsSync(source)) throw new Error(`the manifest's icon ${src} is not in ${RESOURCE_DIR}/icons`);
    files.set(src, fs.readFileSync(source));
  }
}

// The level items and the sound item carry check marks; the levels are one
// choice among seven.
function menuRoles(ids) {
  return (id) => {
    if (id >= ids.get('IDC_LEVEL_FIRST') && id <= ids.get('IDC_LEVEL_LAST')) return 'menuitemradio';
    if (id === ids.get('IDC_SOUND')) return 'menuitemcheckbox';
    return 'menuitem';
  };
}

// A module and every module it imports, directly or through others.
function moduleGraph(pageDir, entry) {
  const found = new Set();
  const visit = (file) => {
    if (found.has(file)) return;
    found.add(file);
    if (!fs.existsSync(path.join(pageDir, file))) return;  // ids.js, written here
    for (const m of fs.readFileSync(path.join(pageDir, file), 'utf8').matchAll(/\bfrom\s*'\.\/([\w-]+\.js)'/g)) visit(m[1]);
  };
  visit(entry);
  return [...found];
}

// index.html with the style sheet, the menu bar and the table of resource
// files in place, and the files of the first paint asked for at once: the
// pictures, then the modules, which the browser would otherwise find one
// import at a time. The rest of the page's modules are left to be found so:
// asked for as well, they would share the network with the pictures.
function pageHtml(template, { style, menu, resources, modules }) {
  const markers = ['<!-- style -->', '<!-- preloads -->', '<!-- menu -->', '<!-- resources -->'];
  const absent = markers.find((marker) => template.split(marker).length !== 2);
  if (absent) throw new Error(`index.html needs the marker ${absent} once`);
  const pictureFiles = [...new Set(Object.values(resources.bitmaps).map(([file]) => file))];
  const preloads = [
    ...pictureFiles.map((file) => `<link rel="preload" href="${file}" as="image" fetchpriority="high">`),
    ...modules.map((file) => `<link rel="modulepreload" href="${file}">`),
  ];
  const resourceJson = JSON.stringify(resources).replace(/</g, '\\u003c');
  return template
    .replace('<!-- style -->', `<style>\n${style.replace(/<\//g, '<\\/')}</style>`)
    .replace('<!-- preloads -->', preloads.join('\n'))
    .replace('<!-- menu -->', menu)
    .replace('<!-- resources -->', `<script type="application/json" id="resources">${resourceJson}</script>`);
}

function makeSite(root, moduleDir, site) {
  const pageDir = path.join(root, PAGE_DIR);
  const ids = readDefines(path.join(root, RESOURCE_IDS));
  const geometry = readConstants(path.join(root, BOARD_GEOMETRY));
  const script = new ResourceScript(path.join(root, RESOURCE_SCRIPT), ids);
  const { text, names } = idsModule([
    { source: RESOURCE_IDS, constants: ids },
    { source: BOARD_GEOMETRY, constants: geometry },
    { source: 'message box styles and buttons, as Windows numbers them', constants: MESSAGE_BOX_NUMBERS },
  ]);
  checkImports(pageDir, names);
  // A page cannot close its own tab, so the Exit item is left out.
  const menu = menuBarHtml(withoutItem(script.menu(), ids.get('IDC_EXIT')), menuRoles(ids));
  const read = (name) => fs.readFileSync(path.join(pageDir, name), 'utf8');

  const files = new Map();
  const resources = addResources(root, script, geometry.get('CELL_SIZE'), files);
  files.set(PAGE, Buffer.from(pageHtml(read(PAGE), {
    style: read(STYLE), menu, resources, modules: moduleGraph(pageDir, FIRST_PAINT),
  })));
  addManifestIcons(root, read(MANIFEST), files);
  for (const name of fs.readdirSync(pageDir)) {
    if (![PAGE, STYLE, SERVICE_WORKER].includes(name)) files.set(name, fs.readFileSync(path.join(pageDir, name)));
  }
  files.set('ids.js', Buffer.from(text));
  for (const name of MODULE_FILES) {
    const source = path.join(moduleDir, name);
    if (!fs.existsSync(source)) throw new Error(`the compiled module lacks ${source}`);
    files.set(name, fs.readFileSync(source));
  }

  // Everything is read and made before the first file is written, so a
  // build that stops on an error leaves the site as it was.
  const serviceWorker = stampServiceWorker(read(SERVICE_WORKER), files);
  for (const [name, bytes] of files) {
    fs.mkdirSync(path.dirname(path.join(site, name)), { recursive: true });
    fs.writeFileSync(path.join(site, name), bytes);
  }
  fs.writeFileSync(path.join(site, SERVICE_WORKER), serviceWorker);
}

const [root, moduleDir, site] = process.argv.slice(2);
if (!root || !moduleDir || !site) {
  console.error('usage: make-site.mjs ROOT MODULE SITE');
  process.exit(2);
}
try {
  makeSite(root, moduleDir, site);
} catch (error) {
  console.error(`make-site: ${error.message}`);
  process.exit(1);
}
