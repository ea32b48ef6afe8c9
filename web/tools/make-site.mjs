// Lays out the page beside the compiled module:
//   node web/tools/make-site.mjs ROOT SITE
// The menu and the resource files are read from the Windows program's
// resource script, so the page shows the same menu items and loads the same
// pictures and sounds under the same ids; the ids and the board's sizes the
// page's scripts use are written into ids.js from the C++ headers.
// Bitmaps and sounds are copied as they are; icons become PNG pictures of
// their 32-pixel image, the size a message box shows.
import fs from 'node:fs';
import path from 'node:path';
import { readConstants, readDefines } from './headers.mjs';
import { checkImports, idsModule, MESSAGE_BOX_NUMBERS } from './ids-module.mjs';
import { menuBarHtml, withoutItem } from './menu-html.mjs';
import { iconPng } from './png.mjs';
import { ResourceScript } from './resource-script.mjs';

// Where the sources are, from ROOT.
const RESOURCE_IDS = 'app/resource_ids.h';
const BOARD_GEOMETRY = 'app/board_geometry.h';
const RESOURCE_SCRIPT = 'app/win32/lanterra.rc';
const RESOURCE_DIR = 'resources';
const PAGE_DIR = 'web/site';

const ICON_SIZE = 32;

// The resource files copied into the site, and the page's table of them:
// kind -> id -> the file's address in the site.
function copyResources(root, site, script) {
  const found = script.resources().map((resource) => ({
    ...resource, source: path.join(root, RESOURCE_DIR, resource.kind, resource.file),
  }));
  const missing = found.find(({ source }) => !fs.existsSync(source));
  if (missing) throw new Error(`missing resource file ${missing.source}`);
  const table = { bitmaps: {}, icons: {}, sounds: {} };
  for (const { kind, id, file, source } of found) {
    table[kind][id] = kind === 'icons' ? `icons/${id}.png` : `${kind}/${file}`;
    const target = path.join(site, table[kind][id]);
    fs.mkdirSync(path.dirname(target), { recursive: true });
    if (kind === 'icons') fs.writeFileSync(target, iconPng(source, ICON_SIZE));
    else fs.copyFileSync(source, target);
  }
  return table;
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

// index.html with the menu bar and the table of resource files in place.
function pageHtml(template, menu, resources) {
  const resourceJson = JSON.stringify(resources).replace(/</g, '\\u003c');
  return template
    .replace('<!-- menu -->', menu)
    .replace('<!-- resources -->', `<script type="application/json" id="resources">${resourceJson}</script>`);
}

function makeSite(root, site) {
  const pageDir = path.join(root, PAGE_DIR);
  const ids = readDefines(path.join(root, RESOURCE_IDS));
  const script = new ResourceScript(path.join(root, RESOURCE_SCRIPT), ids);
  const { text, names } = idsModule([
    { source: RESOURCE_IDS, constants: ids },
    { source: BOARD_GEOMETRY, constants: readConstants(path.join(root, BOARD_GEOMETRY)) },
    { source: 'message box styles and buttons, as Windows numbers them', constants: MESSAGE_BOX_NUMBERS },
  ]);
  checkImports(pageDir, names);
  // A page cannot close its own tab, so the Exit item is left out.
  const menu = menuBarHtml(withoutItem(script.menu(), ids.get('IDC_EXIT')), menuRoles(ids));
  const template = fs.readFileSync(path.join(pageDir, 'index.html'), 'utf8');
  if (!template.includes('<!-- menu -->') || !template.includes('<!-- resources -->')) {
    throw new Error('index.html lacks the menu or resources marker');
  }

  fs.mkdirSync(site, { recursive: true });
  const resources = copyResources(root, site, script);
  fs.writeFileSync(path.join(site, 'index.html'), pageHtml(template, menu, resources));
  for (const name of fs.readdirSync(pageDir)) {
    if (name !== 'index.html') fs.copyFileSync(path.join(pageDir, name), path.join(site, name));
  }
  fs.writeFileSync(path.join(site, 'ids.js'), text);
}

const [root, site] = process.argv.slice(2);
if (!root || !site) {
  console.error('usage: make-site.mjs ROOT SITE');
  process.exit(2);
}
try {
  makeSite(root, site);
} catch (error) {
  console.error(`make-site: ${error.message}`);
  process.exit(1);
}
