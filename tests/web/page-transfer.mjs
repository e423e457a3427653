// What the page costs over the network, through a real match server: a
// first visit asks for each file once (the service worker stores them from
// the browser's cache, not by fetching them again), and a repeat visit
// plays from the stored copies with at most 10 KB over the wire. A relay in
// front of the server sees every request and byte. Then a new build of the
// page (a changed index.html) is shown on the visit after the one that
// found it, having fetched only what changed.
//   node page-transfer.mjs PAGE_DIR QUARNEX_SERVER
import { spawn } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { checker, launchChromium, openGame, requireBrowser, sleep } from './browser.mjs';
import { countingRelay, settled, twoVisits } from './relay.mjs';

const [pageDir = 'build-web/page', serverPath = 'build/server/quarnex-server'] = process.argv.slice(2);
const puppeteer = await requireBrowser(pageDir);
const { check, finish } = checker();
const REPEAT_LIMIT = 10 * 1024;

// A copy of the page to serve, which the test can rebuild in place.
const served = fs.mkdtempSync(path.join(os.tmpdir(), 'qx-page-'));
process.on('exit', () => fs.rmSync(served, { recursive: true, force: true }));
fs.cpSync(pageDir, served, { recursive: true });

// What a new build with a changed index.html writes: the page and its
// service worker with the page's new digest and a new version.
function rebuildPage() {
  const digest = (bytes) => `sha256-${crypto.createHash('sha256').update(bytes).digest('base64')}`;
  const page = path.join(served, 'index.html');
  const worker = path.join(served, 'sw.js');
  const before = digest(fs.readFileSync(page));
  const html = fs.readFileSync(page, 'utf8').replace('<head>', '<head>\n<meta name="build" content="new">');
  const sw = fs.readFileSync(worker, 'utf8').replace(before, digest(Buffer.from(html)))
    .replace(/const VERSION = '[^']*';/, "const VERSION = 'new';");
  for (const name of ['index.html', 'sw.js']) {
    for (const suffix of ['.br', '.gz']) fs.rmSync(path.join(served, name + suffix), { force: true });
  }
  fs.writeFileSync(page, html);
  fs.writeFileSync(worker, sw);
}

async function visit(browser, relay) {
  const mark = relay.mark();
  const page = await openGame(browser, relay.url);
  await sleep(1000);
  await settled(relay);
  const build = await page.evaluate(() => (document.querySelector('meta[name=build]') ? 'new' : 'old'));
  await page.close();
  return { ...relay.since(mark), build };
}

function startServer() {
  const server = spawn(serverPath, ['--port', '0', '--bind', '127.0.0.1', '--web', served],
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
  // sw.js itself the browser may check again whenever it likes.
  const paths = firstVisit.requests.map((r) => r.path);
  const twice = paths.filter((p, i) => paths.indexOf(p) !== i && p !== '/sw.js');
  if (!check(firstVisit.stored && twice.length === 0 && paths.length > 5,
             `a first visit asks for each file once (${paths.length} requests, ${firstVisit.bytes}` +
             ` bytes; twice: ${JSON.stringify(twice)}; the service worker stored the page: ` +
             `${firstVisit.stored})`)) console.log(paths.join(' '));
  check(repeatVisit.bytes <= REPEAT_LIMIT,
        `a repeat visit shows the game with ${repeatVisit.bytes} bytes over the wire (at most ` +
        `${REPEAT_LIMIT}; ${repeatVisit.requests.map((r) => r.path).join(', ') || 'no requests'})`);

  // The browser looks for a new sw.js when a visit navigates (at its own
  // pace): within a few visits the new page shows, each visit before it
  // the stored one, and nothing but the page and sw.js is fetched again.
  rebuildPage();
  const visits = [];
  while (visits.length < 6 && visits.at(-1)?.build !== 'new') visits.push(await visit(browser, relay));
  const asked = [...new Set(visits.flatMap((v) => v.requests.map((r) => r.path)))].sort().join(' ');
  check(visits[0].build === 'old' && visits.at(-1).build === 'new' && asked === '/ /sw.js',
        `a new build shows on visit ${visits.length} after it (${visits.map((v) => v.build).join(', ')});` +
        ` fetched again: ${asked}`);
} finally {
  await browser.close();
  relay.stop();
  server.stop();
}
finish();
