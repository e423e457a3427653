// Figures of the browser version: the size of its code, the time from
// navigation to the first frame on screen in headless Chromium, and the
// CPU the page takes while the computer plays both sides.
//   node measure-page.mjs [WEB_DIR]
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

import { launchChromium, requireBrowser, servePage } from './browser.mjs';

const webDir = process.argv[2] ?? 'build-web';
const puppeteer = await requireBrowser(webDir);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const kib = (bytes) => `${(bytes / 1024).toFixed(1)} KiB`;

const bytesOf = (name) => fs.statSync(path.join(webDir, name)).size;
const code = bytesOf('quarnex.wasm') + bytesOf('quarnex.js');
const pageFiles = fs.readdirSync(webDir).filter((f) => /\.(mjs|html|css)$/.test(f));
const page = pageFiles.reduce((sum, f) => sum + bytesOf(f), 0);
console.log(`quarnex.wasm ${kib(bytesOf('quarnex.wasm'))} + quarnex.js ${kib(bytesOf('quarnex.js'))}` +
            ` = ${kib(code)} (${(code / 1e6).toFixed(2)} MB); page files ${kib(page)}`);
// What goes over the wire: every file the page loads, raw, gzipped (as
// web/serve.py sends it) and brotli-compressed.
const served = fs.readdirSync(webDir).filter((f) => /\.(mjs|html|css|js|wasm|webmanifest|png)$/.test(f) &&
                                                   f !== 'quarnex-sim.js');
const wire = { raw: 0, gzip: 0, brotli: 0 };
for (const name of served) {
  const bytes = fs.readFileSync(path.join(webDir, name));
  const packs = !name.endsWith('.png');
  wire.raw += bytes.length;
  wire.gzip += packs ? zlib.gzipSync(bytes, { level: 9 }).length : bytes.length;
  wire.brotli += packs ? zlib.brotliCompressSync(bytes, {
    params: { [zlib.constants.BROTLI_PARAM_QUALITY]: 11 } }).length : bytes.length;
}
console.log(`served files (${served.length}): ${kib(wire.raw)} raw, ${kib(wire.gzip)} gzip, ` +
            `${kib(wire.brotli)} brotli`);

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
