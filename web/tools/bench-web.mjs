// How soon the page shows the board and takes the first move:
//   node web/tools/bench-web.mjs [SITE]   (default build-web/site)
// The times run from the navigation to the page's own marks, lanterra-board
// (the first paint of the board) and lanterra-ready (the game has started
// and takes the player's move). Each figure is the median of three cold
// loads: a new browser with a fresh profile, the HTTP cache off and no
// service worker. Two conditions: as this machine runs, and as a slow phone
// (the CPU slowed 4x, 150 ms latency, 1.6 Mbps down and up).
// A benchmark, not a test: it prints figures and fails only when a load does.
import path from 'node:path';
import { chromium } from 'playwright-core';
import { startServer } from './static-server.mjs';

const LOADS = 3;
const CONDITIONS = [
  { name: 'unthrottled', cpu: 1, network: null },
  { name: 'CPU 4x slower, 150 ms, 1.6 Mbps', cpu: 4, network: { latency: 150, throughput: 200000 } },
];
const MARKS = ['lanterra-board', 'lanterra-ready'];

async function coldLoad(base, { cpu, network }) {
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const context = await browser.newContext({ serviceWorkers: 'block' });
    const page = await context.newPage();
    const devtools = await context.newCDPSession(page);
    await devtools.send('Network.enable');
    await devtools.send('Network.setCacheDisabled', { cacheDisabled: true });
    if (network) {
      await devtools.send('Network.emulateNetworkConditions', {
        offline: false,
        latency: network.latency,
        downloadThroughput: network.throughput,
        uploadThroughput: network.throughput,
      });
    }
    await devtools.send('Emulation.setCPUThrottlingRate', { rate: cpu });
    await page.goto(`${base}?seed=1`, { waitUntil: 'commit' });
    await page.waitForFunction((names) => names.every((name) => performance.getEntriesByName(name).length > 0),
      MARKS, { timeout: 120000, polling: 20 });
    return await page.evaluate((names) => names.map((name) => performance.getEntriesByName(name)[0].startTime), MARKS);
  } finally {
    await browser.close();
  }
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const seconds = (ms) => `${(ms / 1000).toFixed(2)} s`;

const site = path.resolve(process.argv[2] || 'build-web/site');
const server = await startServer(site);
try {
  console.log(`page: ${site}; median of ${LOADS} cold loads`);
  console.log('condition                          board painted   first move taken   (each load)');
  for (const condition of CONDITIONS) {
    const loads = [];
    for (let n = 0; n < LOADS; n++) loads.push(await coldLoad(server.base, condition));
    const each = loads.map(([board, ready]) => `${seconds(board)}/${seconds(ready)}`).join(', ');
    console.log(`${condition.name.padEnd(34)} ${seconds(median(loads.map((l) => l[0]))).padEnd(15)} `
      + `${seconds(median(loads.map((l) => l[1]))).padEnd(18)} (${each})`);
  }
} finally {
  await server.close();
}
