// A static file server for the built page on 127.0.0.1, for the browser
// tests and the page's benchmark: any free port, the folder it serves
// changeable while it runs (a new build at the same address), and a close
// that also drops the browser's open connections, as a stopped server does.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.png': 'image/png', '.svg': 'image/svg+xml',
  '.wav': 'audio/wav', '.webmanifest': 'application/manifest+json',
};

export async function startServer(folder) {
  let root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    let file = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    if (file.endsWith('/')) file += 'index.html';
    const full = path.join(root, path.normalize(file));
    if (!full.startsWith(root + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    fs.readFile(full, (error, data) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, { 'content-type': TYPES[path.extname(full)] || 'application/octet-stream' });
      response.end(data);
    });
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    base: `http://127.0.0.1:${server.address().port}/`,
    serve: (next) => { root = path.resolve(next); },
    close: () => new Promise((resolve) => {
      server.close(resolve);
      server.closeAllConnections();
    }),
  };
}
