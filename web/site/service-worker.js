// Keeps the page, the game's module and every picture and sound in the
// browser, so that once loaded the game opens and plays with no network.
// make-site writes the build's version and its files into the two lines
// below. A new build is a new worker: it fetches the new files into a cache
// of its own, takes over at once, and deletes the caches of older builds.
'use strict';

const VERSION = '';
const FILES = [];

// One cache per build and per place the page is served from, so that two
// copies of the game on one site leave each other's files alone.
const PREFIX = `lanterra ${self.registration.scope} `;
const CACHE = PREFIX + VERSION;

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    // Asked of the server again rather than taken from the browser's HTTP
    // cache, which may still hold the previous build's files.
    await cache.addAll(FILES.map((file) => new Request(file, { cache: 'no-cache' })));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith(PREFIX) && name !== CACHE) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

// The build's files come from the cache, whatever the query (?seed=S); the
// folder's own address is the page. Anything else goes to the network.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || !request.url.startsWith(self.registration.scope)) return;
  const name = new URL(request.url).pathname.slice(new URL(self.registration.scope).pathname.length) || 'index.html';
  if (!FILES.includes(name)) return;
  event.respondWith((async () => {
    const cached = await (await caches.open(CACHE)).match(name);
    return cached || fetch(request);
  })());
});
