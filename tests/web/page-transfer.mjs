// What the page costs over the network, through a real match server: a
// first visit asks for each file once (the service worker stores them from
// the browser's cache, not by fetching them again), and a repeat visit
// plays from the stored copies with at most 10 KB over the wire. A relay in
// front of the server sees every request and byte.
//   node page-transfer.mjs PAGE_DIR QUARNEX_SERVER
import { spawn } from 'node:child_process';

import { checker, launchChromium, requireBrowser } from './browser.mjs';
import { countingRelay, twoVisits } from './relay.mjs';

const [pageDir = 'build-web/page', serverPath = 'build/server/quarnex-server'] = process.argv.slice(2);
const puppeteer = await requireBrowser(pageDir);
const { check, finish } = checker();
const REPEAT_LIMIT = 10 * 1024;

function startServer() {
  const server = spawn(serverPath, ['--port', '0', '--bind', '127.0.0.1', '--web', pageDir],
                       { stdio: ['ignore', 'pipe', 'inherit'] });
  process.on('exit', () => server.kill());
  return new Promise((resolve, reject) => {
    let text = '';
    server.on('error', reject);
    server.stdout.on('data', (chunk) => {
      text += chunk;
      const match = /listening on (\d+)/.exec(text);
      if (match) resolve({ port: Number(match[1]), stop: () => server.kill() });
    });
  });
}

const server = await startServer();
const relay = await countingRelay(server.port);
const browser = await launchChromium(puppeteer);
try {
  const { firstVisit, repeatVisit } = await twoVisits(browser, relay);
  const paths = firstVisit.requests.map((r) => r.path);
  const twice = paths.filter((p, i) => paths.indexOf(p) !== i);
  check(firstVisit.stored && twice.length === 0 && paths.length > 5,
        `a first visit asks for each file once (${paths.length} requests, ${firstVisit.bytes} bytes;` +
        ` twice: ${JSON.stringify(twice)}; the service worker stored the page: ${firstVisit.stored})`);
  check(repeatVisit.bytes <= REPEAT_LIMIT,
        `a repeat visit shows the game with ${repeatVisit.bytes} bytes over the wire (at most ` +
        `${REPEAT_LIMIT}; ${repeatVisit.requests.map((r) => r.path).join(', ') || 'no requests'})`);
} finally {
  await browser.close();
  relay.stop();
  server.stop();
}
finish();
