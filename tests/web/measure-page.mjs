// Figures of the browser version: the size of the page as it is sent (raw,
// gzip, brotli; all of it and what the first frame needs), what a first and
// a repeat visit transfer, the time from navigation to the first frame on
// screen in headless Chromium, and the CPU the page takes while the
// computer plays both sides.
//   node measure-page.mjs [PAGE_DIR]
import fs from 'node:fs';
import path from 'node:path';

import { launchChromium, requireBrowser, servePage } from './browser.mjs';
import { countingRelay, twoVisits } from './relay.mjs';

const webDir = process.argv[2] ?? 'build-web/page';
const puppeteer = await requireBrowser(webDir);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const kib = (bytes) => `${(bytes / 1024).toFixed(1)} KiB`;

// Each file's size raw and as sent compressed (the copies the build made;
// a file without one goes out as it is).
const sizeOf = (name) => fs.statSync(path.join(webDir, name)).size;
const packed = (name, suffix) =>
  (fs.existsSync(path.join(webDir, name + suffix)) ? sizeOf(name + suffix) : sizeOf(name));
const sizes = (names) => names.reduce((sum, name) => ({
  raw: sum.raw + sizeOf(name), gzip: sum.gzip + packed(name, '.gz'), brotli: sum.brotli + packed(name, '.br'),
}), { raw: 0, gzip: 0, brotli: 0 });
const line = (what, s) => console.log(`${what}: ${s.raw} raw, ${s.gzip} gzip, ${s.brotli} brotli bytes` +
                                      ` (${kib(s.raw)}, ${kib(s.gzip)}, ${kib(s.brotli)})`);

// What the first frame needs: the page, its style sheet, the game's loader
// and wasm, and every module the page's scripts import.
const text = (name) => fs.readFileSync(path.join(webDir, name), 'utf8');
const firstFrame = new Set(['index.html']);
const references = (name) => [...text(name).matchAll(/(?:href|src)="([^"]+)"|from '\.\/([^']+)'/g)]
  .map((m) => m[1] ?? m[2]).filter((ref) => /\.(css|m?js|wasm)$/.test(ref));
for (const name of firstFrame) {
  if (!/\.(wasm|css)$/.test(name)) references(name).forEach((ref) => firstFrame.add(ref));
}
const all = fs.readdirSync(webDir).filter((name) => !/\.(br|gz)$/.test(name));
for (const name of [...firstFrame].filter((n) => /\.(wasm|js)$/.test(n) && !n.endsWith('.mjs'))) {
  const s = sizes([name]);
  console.log(`${name}: ${s.raw} raw, ${s.gzip} gzip, ${s.brotli} brotli bytes`);
}
line(`what the first frame needs (${firstFrame.size} files)`, sizes([...firstFrame]));
line(`the whole page folder (${all.length} files)`, sizes(all));

// CPU seconds of a process and all its descendants (utime + stime from
// /proc, in 1/100 s).
function cpuSecondsOfTree(rootPid) {
  const rows = [];
  for (const name of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(name)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${name}/stat`, 'latin1');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      rows.push([Number(name), Number(fields[1]), (Number(fields[11]) + Number(fields[12])) / 100]);
    } catch {
      // the process ended meanwhile
    }
  }
  const family = new Set([rootPid]);
  for (let grew = true; grew;) {
    grew = false;
    for (const [pid, ppid] of rows) {
      if (family.has(ppid) && !family.has(pid)) {
        family.add(pid);
        grew = true;
      }
    }
  }
  return rows.filter(([pid]) => family.has(pid)).reduce((sum, [, , t]) => sum + t, 0);
}

const server = await servePage(webDir);
const browser = await launchChromium(puppeteer);
try {
  // Over the wire, through a relay that counts (the page served by serve.py,
  // which answers as the match server does).
  const relay = await countingRelay(Number(new URL(server.url).port));
  const { firstVisit, repeatVisit } = await twoVisits(browser, relay);
  relay.stop();
  console.log(`first visit: ${firstVisit.requests.length} requests, ${firstVisit.bytes} bytes ` +
              `(${kib(firstVisit.bytes)}); repeat visit: ${repeatVisit.requests.length} requests ` +
              `(${repeatVisit.requests.map((r) => r.path).join(', ')}), ${repeatVisit.bytes} bytes`);

  const times = [];
  for (let run = 0; run < 7; run++) {
    const context = await browser.createBrowserContext();
    const tab = await context.newPage();
    await tab.setViewport({ width: 800, height: 600 });
    await tab.goto(server.url);
    await tab.waitForFunction(() => window.quarnex?.firstFrameShownMs != null);
    times.push(await tab.evaluate(() => [window.quarnex.firstFrameMs,
                                         window.quarnex.firstFrameShownMs]));
    await context.close();
  }
  const median = (i) => times.map((t) => t[i]).sort((a, b) => a - b)[times.length >> 1];
  console.log(`first frame drawn ${median(0).toFixed(0)} ms, on screen ${median(1).toFixed(0)} ms` +
              ` after navigation (median of ${times.length}; all: ` +
              `${times.map((t) => t[1].toFixed(0)).join(', ')} ms)`);

  for (const [width, height] of [[800, 600], [1920, 1080]]) {
    const tab = await browser.newPage();
    await tab.setViewport({ width, height });
    await tab.goto(server.url);
    await tab.waitForSelector('#new-game[open]');
    await tab.$$eval('#new-game input[type=checkbox]', (boxes) => { boxes.forEach((b) => { b.checked = false; }); });
    await tab.click('#new-game button[value="ok"]');
    await sleep(1000);
    const session = await tab.createCDPSession();
    await session.send('Performance.enable');
    const metric = async (name) =>
      (await session.send('Performance.getMetrics')).metrics.find((m) => m.name === name).value;
    const seconds = 10;
    const sample = async () => ({
      task: await metric('TaskDuration'),
      cpu: cpuSecondsOfTree(browser.process().pid),
      page: await tab.evaluate(() => ({ ...window.quarnex.stats, ticks: window.quarnex.ticks,
        canvas: document.getElementById('screen').width * document.getElementById('screen').height })),
    });
    const before = await sample();
    await sleep(seconds * 1000);
    const after = await sample();
    const ticks = after.page.ticks - before.page.ticks;
    const pixels = (after.page.pixels - before.page.pixels) / Math.max(1, ticks);
    console.log(`${width}x${height}, computer against computer for ${seconds} s: ${ticks} ticks` +
                ` (${(ticks / seconds).toFixed(1)}/s); page main thread busy ` +
                `${(100 * (after.task - before.task) / seconds).toFixed(1)}% of one core, all ` +
                `Chromium processes ${(100 * (after.cpu - before.cpu) / seconds).toFixed(0)}%; ` +
                `${pixels.toFixed(0)} of ${after.page.canvas} canvas pixels copied per tick`);
    await tab.close();
  }
} finally {
  await browser.close();
  server.stop();
}
