// The service worker keeps every file of the build in a cache named by the
// build's version, drawn from the files' contents: a build that changes any
// byte is a new version, whose worker fetches the new files and deletes the
// old cache, and a rebuild of the same sources is no update at all.
import crypto from 'node:crypto';

const VERSION_SLOT = "const VERSION = '';";
const FILES_SLOT = 'const FILES = [];';

// files: site name -> bytes, for every file of the site but the service
// worker itself.
export function buildVersion(files) {
  const hash = crypto.createHash('sha256');
  for (const name of [...files.keys()].sort()) {
    hash.update(`${name}\0`);
    hash.update(crypto.createHash('sha256').update(files.get(name)).digest());
  }
  return hash.digest('hex').slice(0, 16);
}

// The service worker's source with the version and the list of files put in
// their places.
export function stampServiceWorker(template, files) {
  for (const slot of [VERSION_SLOT, FILES_SLOT]) {
    if (template.split(slot).length !== 2) throw new Error(`the service worker needs exactly one line ${slot}`);
  }
  return template
    .replace(VERSION_SLOT, `const VERSION = '${buildVersion(files)}';`)
    .replace(FILES_SLOT, `const FILES = ${JSON.stringify([...files.keys()].sort())};`);
}
