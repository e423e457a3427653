// Replays in the page, tried in headless Chromium: a game played a little is
// saved ("Ulozit zaznam..." downloads quarnex-YYYYMMDD-HHMM.qxr), the native
// simulator plays the file to the page's own checksum, the page plays it
// back over its standing game (from the file picker and dropped on the
// page, on an open dialog once it is answered; a key or a click ends it)
// and refuses damaged files with a message, in Czech and in English,
// changing nothing.
//   node page-replays.mjs WEB_DIR SCREENSHOT_DIR QUARNEX_SIM
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { checker, launchChromium, openGame, requireBrowser, servePage, sleep,
         startPlaying } from './browser.mjs';

const [webDir = 'build-web', shotDir = 'page-screenshots', simPath = 'build/tools/sim/quarnex-sim'] =
  process.argv.slice(2);
const puppeteer = await requireBrowser(webDir);
fs.mkdirSync(shotDir, { recursive: true });
const { check, finish } = checker();
const shot = (page, name) => page.screenshot({ path: path.join(shotDir, name) });

const status = (page) => page.evaluate(() => ({
  ticks: window.quarnex.ticks,
  checksum: window.quarnex.checksum(),
  replay: window.quarnex.replay(),
  inputs: window.quarnex.inputs.length,
  title: document.title,
}));
const menuCommand = async (page, command) => {
  await page.click('#menubar .menu:nth-child(1) .title');
  await page.click(`[data-command="${command}"]`);
};
const waitFor = async (what, timeoutMs = 30000) => {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await what();
    if (value || Date.now() > end) return value;
    await sleep(50);
  }
};

// The saved file once the browser has written it whole: the name can be
// there before the last bytes are, so its size must hold still for a while.
async function downloaded(folder) {
  let seen = -1;
  let since = 0;
  return waitFor(() => {
    const name = fs.readdirSync(folder).find((entry) => entry.endsWith('.qxr'));
    const size = name ? fs.statSync(path.join(folder, name)).size : -1;
    if (size !== seen) [seen, since] = [size, Date.now()];
    return size > 0 && Date.now() - since >= 300 ? name : null;
  });
}

// Drops a file with `text` on the scene (or `on`) as a player's file manager would.
function dropFile(page, text, name, on = '#screen') {
  return page.evaluate((body, fileName, selector) => {
    const data = new DataTransfer();
    data.items.add(new File([body], fileName));
    const target = document.querySelector(selector);
    for (const type of ['dragenter', 'dragover', 'drop']) {
      target.dispatchEvent(new DragEvent(type, { bubbles: true, cancelable: true, dataTransfer: data }));
    }
  }, text, name, on);
}

// Plays a little (the Rebel's keys, the Emperor's mouse), lets a tick pass
// without input and pauses: the page's state is then the last whole tick's.
async function playALittle(page) {
  const box = await (await page.$('#screen')).boundingBox();
  for (let i = 0; i < 6; i++) {
    await page.mouse.move(box.x + box.width * (0.2 + 0.1 * i), box.y + box.height * 0.4);
    await page.keyboard.press(i % 2 ? 'ArrowUp' : 'Space');
    await sleep(250);
  }
  await sleep(300);
  await page.keyboard.press('KeyP');
  await sleep(100);
}

function simulate(file) {
  const run = spawnSync(simPath, ['--replay', file], { encoding: 'utf8' });
  const sum = /checksum ([0-9a-f]{16})/.exec(run.stderr ?? '')?.[1] ?? null;
  return { status: run.status, sum, text: run.error?.message ?? (run.stderr ?? '').trim() };
}

async function saveAndCheck(page, folder) {
  const before = await status(page);
  await menuCommand(page, 'save-replay');
  const name = await downloaded(folder);
  check(/^quarnex-\d{8}-\d{4}\.qxr$/.test(name ?? ''), `the replay downloads as ${name}`);
  if (!name) return null;
  const file = path.join(folder, name);
  const text = fs.readFileSync(file, 'utf8');
  const end = /\nend ([0-9a-f]{16})\n(?:digest [0-9a-f]{16}\n)?$/.exec(text)?.[1];
  const sim = simulate(file);
  check(before.ticks > 20 && end === before.checksum,
        `the file ends in the page's state (${before.ticks} ticks, end ${end}, page ${before.checksum})`);
  check(sim.status === 0 && sim.sum === before.checksum,
        `quarnex-sim --replay plays it to the page's checksum (exit ${sim.status}: ${sim.text})`);
  return { file, text, checksum: before.checksum };
}

async function playBack(page, saved) {
  const before = await status(page);
  const input = await page.$('#replay-file');
  await input.uploadFile(saved.file);
  const started = await waitFor(async () => (await status(page)).replay.playing, 15000);
  await waitFor(async () => (await status(page)).replay.played > 25, 15000);
  await shot(page, 'replays-1-playing.png');
  const during = await status(page);
  check(started && during.title.endsWith(' - prehravani zaznamu') &&
        !await page.$eval('#pause-note', (n) => !n.hidden),
        `"Prehrat zaznam..." plays the file over the page (${during.replay.played} of ` +
        `${during.replay.total} ticks; "${during.title}")`);
  const ended = await waitFor(async () => !(await status(page)).replay.playing, 30000);
  const after = await status(page);
  check(ended && after.replay.last?.checksum === saved.checksum,
        `the replay plays to its recorded end (${after.replay.last?.checksum})`);
  check(after.checksum === before.checksum && after.ticks === before.ticks &&
        after.title === before.title,
        'the page\'s game stood still under it and is back as it was, still paused');
  await page.keyboard.press('KeyP');
  const ticks = after.ticks;
  check(await waitFor(async () => (await status(page)).ticks > ticks + 5, 5000),
        'the page\'s game goes on where it stood');
  await page.keyboard.press('KeyP');
}

// The game runs meanwhile (not paused), so a key or a click that got
// through would be given to it.
async function endedByKeyOrClick(page, saved) {
  await page.keyboard.press('KeyP');
  const before = await status(page);
  await dropFile(page, saved.text, 'dropped.qxr');
  const dropped = await waitFor(async () => (await status(page)).replay.playing, 15000);
  await sleep(200);
  await page.keyboard.press('ArrowUp');
  const byKey = await status(page);
  await dropFile(page, saved.text, 'dropped.qxr');
  await waitFor(async () => (await status(page)).replay.playing, 15000);
  await page.click('#screen');
  const byClick = await status(page);
  check(dropped && !byKey.replay.playing && !byClick.replay.playing,
        'a dropped file plays; a key and a click on the scene end the replay');
  await page.keyboard.press('KeyP');
  check(byClick.inputs === before.inputs,
        'the key and the click that end it never reach the game');
}

async function refused(page, saved, folder) {
  const before = await status(page);
  // A checkpoint changed: the game parts from the record there.
  const damaged = saved.text.replace(/\ncheck 60 ([0-9a-f])/, (line, digit) =>
    `\ncheck 60 ${digit === '0' ? '1' : '0'}`);
  const damagedFile = path.join(folder, 'damaged.qxr');
  fs.writeFileSync(damagedFile, damaged);
  await (await page.$('#replay-file')).uploadFile(damagedFile);
  await page.waitForSelector('#message[open]', { timeout: 15000 });
  const message = await page.$eval('#message', (d) => d.textContent.replace(/\s+/g, ' ').trim());
  await shot(page, 'replays-2-damaged.png');
  const sim = simulate(damagedFile);
  await page.keyboard.press('Enter');
  await page.waitForSelector('#message:not([open])');
  const after = await status(page);
  check(message.includes('Zaznam nelze prehrat.') &&
        message.includes('Zaznam je poskozeny: hra se od nej odchyluje v kroku 60.'),
        `a damaged replay is refused with a message ("${message}")`);
  check(sim.status === 2 && /digest/.test(sim.text) && /tick 60/.test(sim.text),
        `the simulator refuses it too (${sim.text.split('\n')[0]})`);
  check(!after.replay.playing && after.checksum === before.checksum && after.ticks === before.ticks,
        'the refused file changed nothing');

  await dropFile(page, 'Ahoj\n', 'notes.qxr');
  await page.waitForSelector('#message[open]', { timeout: 15000 });
  const notReplay = await page.$eval('#message .text', (t) => t.textContent);
  await page.keyboard.press('Escape');
  check(notReplay.endsWith('Soubor neni zaznam hry Quarnex.'),
        `a file that is no replay says so ("${notReplay.replace(/\n/g, ' ')}")`);
}

// A file dropped on an open dialog (the first New game dialog, the About
// box) plays once the dialog is answered.
async function droppedOnDialogs(browser, url, saved) {
  const page = await openGame(browser, url);
  const playing = async () => (await status(page)).replay.playing;
  const seen = [];
  for (const [dialog, answer] of [['#new-game', () => startPlaying(page)],
    ['#about', () => page.keyboard.press('Enter')]]) {
    if (dialog === '#about') {
      await page.click('#menubar .menu:nth-child(2) .title');
      await page.click('[data-command="about"]');
      await page.waitForSelector('#about[open]');
    }
    await dropFile(page, saved.text, 'dropped.qxr', dialog);
    const during = await playing();
    await answer();
    const after = await waitFor(playing, 15000);
    await page.keyboard.press('Escape');
    await waitFor(async () => !await playing(), 5000);
    seen.push(`${dialog}: ${during ? 'played over it' : 'waited'}, then ${after ? 'played' : 'NOTHING'}`);
  }
  check(seen.every((line) => /waited, then played/.test(line)),
        `a replay dropped on an open dialog plays once it is answered (${seen.join('; ')})`);
  await page.close();
}

async function english(browser, url, saved) {
  const page = await openGame(browser, url, { language: 'en-GB' });
  await startPlaying(page);
  await page.click('#menubar .menu:nth-child(1) .title');
  const labels = await page.$$eval('#menubar .menu:nth-child(1) [data-command]',
                                   (items) => items.map((i) => i.textContent));
  const keys = await page.$$eval('#menubar .menu:nth-child(1) [data-command]',
                                 (items) => items.map((i) => i.dataset.accessKey));
  await page.keyboard.press('Escape');
  await dropFile(page, saved.text.replace(/\nend [0-9a-f]+\n(?:digest [0-9a-f]+\n)?$/, '\n'), 'cut.qxr');
  await page.waitForSelector('#message[open]', { timeout: 15000 });
  const message = await page.$eval('#message .text', (t) => t.textContent);
  check(labels.includes('Save replay...') && labels.includes('Play replay...') &&
        new Set(keys).size === keys.length,
        `in English the menu says ${labels.join(', ')} (access keys ${keys.join('')}, unique)`);
  check(message === 'The replay cannot be played.\n\nThe replay is incomplete: the file is cut short.',
        `and the refusal is in English ("${message.replace(/\n/g, ' ')}")`);
  await page.close();
}

const server = await servePage(webDir);
const browser = await launchChromium(puppeteer);
const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quarnex-replays-'));
try {
  const cdp = await browser.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  const page = await openGame(browser, server.url);
  const keys = await page.$$eval('#menubar .menu:nth-child(1) [data-command]',
                                 (items) => items.map((i) => i.dataset.accessKey));
  check(new Set(keys).size === keys.length && keys.includes('u') && keys.includes('r'),
        `"Hra" has "Ulozit zaznam..." (U) and "Prehrat zaznam..." (R), access keys unique (${keys.join('')})`);
  await startPlaying(page);
  await playALittle(page);
  const saved = await saveAndCheck(page, folder);
  if (saved) {
    await playBack(page, saved);
    await endedByKeyOrClick(page, saved);
    await refused(page, saved, folder);
    await english(browser, server.url, saved);
    await droppedOnDialogs(browser, server.url, saved);
  }
  await page.close();
} finally {
  await browser.close();
  server.stop();
  fs.rmSync(folder, { recursive: true, force: true });
}
finish();
