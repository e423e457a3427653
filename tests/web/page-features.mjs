// What the page has as the desktop has it, tried in headless Chromium: the
// pause, the score kept, the controls page with the player's own keys,
// gamepads (a stand-in Gamepad API), the Rebel's touch controls, English
// and Czech, the web app manifest and icons, play offline after a visit,
// and the server's compression.
//   node page-features.mjs WEB_DIR SCREENSHOT_DIR
import fs from 'node:fs';
import path from 'node:path';

import { checker, launchChromium, openGame, requireBrowser, servePage, sleep,
         startPlaying } from './browser.mjs';
import { decodePng } from './png.mjs';

const [webDir = 'build-web', shotDir = 'page-screenshots'] = process.argv.slice(2);
const puppeteer = await requireBrowser(webDir);
fs.mkdirSync(shotDir, { recursive: true });
const { check, finish } = checker();
const shot = (page, name) => page.screenshot({ path: path.join(shotDir, name) });

const ticks = (page) => page.evaluate(() => window.quarnex.ticks);
const lastInputs = (page, n) => page.evaluate((k) => window.quarnex.inputs.slice(-k), n);
const menuCommand = async (page, menu, command) => {
  await page.click(`#menubar .menu:nth-child(${menu}) .title`);
  await page.click(`[data-command="${command}"]`);
};
const stands = async (page) => {
  const before = await ticks(page);
  await sleep(400);
  return await ticks(page) === before;
};

async function pauseAndScore(page) {
  await page.keyboard.press('KeyP');
  const paused = await stands(page) && (await page.title()).endsWith(' - pauza') &&
    await page.$eval('[data-command=pause]', (i) => i.ariaChecked === 'true');
  await page.keyboard.press('ArrowUp');
  const keyWhilePaused = (await lastInputs(page, 1))[0] === 'key 6';
  await menuCommand(page, 1, 'pause');
  check(paused && !keyWhilePaused && !await stands(page) && !(await page.title()).includes('pauza'),
        'P pauses (the title and the menu say so, keys wait), "Pauza" goes on');
  await menuCommand(page, 1, 'score');
  await page.reload();
  await page.waitForSelector('#new-game[open]');
  check(await page.title() === 'Quarnex 2.00 - 0 : 0' &&
        await page.$eval('#title-line', (t) => t.textContent) === 'Quarnex 2.00 - 0 : 0',
        'Zobrazit skore is kept: after a reload the page and the tab show the score');
  await menuCommand(page, 1, 'score').catch(() => {});
  await startPlaying(page);
}

async function ownKeys(page) {
  await menuCommand(page, 2, 'controls');
  const table = await page.$eval('#controls table', (t) => t.textContent);
  check(['Imperator (bila lod)', 'mys: lod leti k ukazateli', 'Povstalec (cervena lod)', 'mezernik',
    'leva packa nebo krizovy ovladac'].every((t) => table.includes(t)),
        'Napoveda > Ovladani shows both sides\' controls');
  const held = await stands(page);
  const button = (key) => `#controls [data-action="${key}"]`;
  await page.click(button(6));  // Up
  await page.keyboard.press('KeyW');
  const shown = await page.$eval(button(6), (b) => b.textContent);
  await page.click(button(5));  // Up left
  await page.keyboard.press('KeyX');
  const refused = await page.$eval('#controls .binding-note', (n) => n.textContent);
  await page.keyboard.press('Escape');
  const stillOpen = Boolean(await page.$('#controls[open]'));
  await page.click(button(1));  // forward shot
  await page.keyboard.press('KeyW');
  const refusedOwn = await page.$eval('#controls .binding-note', (n) => n.textContent);
  await page.keyboard.press('KeyP');
  const refusedPause = await page.$eval('#controls .binding-note', (n) => n.textContent);
  await page.keyboard.press('Escape');
  await shot(page, 'features-1-controls.png');
  check(held && shown === 'W', `the controls page holds the game; Up takes W ("${shown}")`);
  check(refused === 'Klavesa X uz slouzi pro: Strela dolu.' &&
        refusedOwn === 'Klavesa W uz slouzi pro: Nahoru.' &&
        refusedPause.startsWith('Klavesu P nelze priradit') && stillOpen,
        `keys in use are refused with a word ("${refused}", "${refusedOwn}", "${refusedPause}"); Esc stops waiting`);
  await page.click('#controls button[value=ok]');
  await page.waitForSelector('#controls:not([open])');
  await page.keyboard.press('KeyW');
  await page.keyboard.press('ArrowUp');
  await page.keyboard.press('Numpad8');
  await page.keyboard.press('Home');
  const sent = await lastInputs(page, 2);
  const stored = await page.evaluate(() => localStorage.getItem('quarnex.Klavesy'));
  check(JSON.stringify(sent) === '["key 6","key 5"]' && stored.includes('KeyW'),
        `W steers up, the arrow and keypad 8 no longer do, Home still does (${sent}); kept (${stored})`);
  await page.reload();
  await page.waitForSelector('#new-game[open]');
  await startPlaying(page);
  await page.keyboard.press('KeyW');
  const afterReload = (await lastInputs(page, 1))[0];
  await menuCommand(page, 2, 'controls');
  await page.click('#controls .defaults');
  const label = await page.$eval(button(6), (b) => b.textContent);
  await page.keyboard.press('Escape');
  await page.waitForSelector('#controls:not([open])');
  await page.keyboard.press('ArrowUp');
  check(afterReload === 'key 6' && label === 'sipka nahoru, num 8' &&
        (await lastInputs(page, 1))[0] === 'key 6' &&
        await page.evaluate(() => localStorage.getItem('quarnex.Klavesy')) === '{}',
        '"Vychozi" brings the default keys back');
}

// A stand-in for the Gamepad API: the test sets window.testPads.
const fakePads = () => {
  const button = () => ({ pressed: false, touched: false, value: 0 });
  const pad = (index) => ({ index, connected: true, mapping: 'standard', id: `pad ${index}`,
                            axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, button) });
  window.testPads = [pad(0), pad(1)];
  navigator.getGamepads = () => window.testPads;
};
const padButton = (page, pad, button, on) => page.evaluate((p, b, v) => {
  Object.assign(window.testPads[p].buttons[b], { pressed: v, value: v ? 1 : 0 });
}, pad, button, on);

async function gamepads(page) {
  await padButton(page, 0, 15, true);  // the Rebel's d-pad right
  await sleep(100);
  await padButton(page, 0, 15, false);
  await padButton(page, 0, 0, true);  // A
  await sleep(100);
  await padButton(page, 0, 0, false);
  const rebel = await lastInputs(page, 2);
  const target = await page.evaluate(() => window.quarnex.target());
  await page.evaluate(() => { window.testPads[1].axes[0] = 1; });  // the Emperor's stick right
  await sleep(200);
  await page.evaluate(() => { window.testPads[1].axes[0] = 0; });
  await padButton(page, 1, 7, true);  // right trigger
  await sleep(100);
  await padButton(page, 1, 7, false);
  const emperor = await lastInputs(page, 1);
  const aimed = await page.evaluate(() => window.quarnex.target());
  check(JSON.stringify(rebel) === '["key 10","key 1"]', `the first pad plays the Rebel: d-pad right, A (${rebel})`);
  check(aimed.x > target.x + 20 && aimed.y === target.y && emperor[0] === 'left',
        `the second pad plays the Emperor: the stick moves the aim (${target.x} -> ${aimed.x}), RT fires`);
  await padButton(page, 0, 9, true);  // Start
  await sleep(100);
  await padButton(page, 0, 9, false);
  const paused = await page.evaluate(() => window.quarnex.paused());
  await padButton(page, 1, 9, true);
  await sleep(100);
  await padButton(page, 1, 9, false);
  check(paused && !await page.evaluate(() => window.quarnex.paused()), 'Start pauses and goes on');
  // With pads there, New game asks whom the first one plays.
  await menuCommand(page, 1, 'new');
  const asked = await page.$eval('#new-game .pad-choice', (c) => !c.hidden);
  await page.select('#new-game select[name=firstPad]', 'emperor');
  await page.click('#new-game button[value=ok]');
  await page.waitForSelector('#new-game:not([open])');
  await padButton(page, 0, 0, true);
  await sleep(100);
  await padButton(page, 0, 0, false);
  check(asked && (await lastInputs(page, 1))[0] === 'left',
        'New game asks whom the first pad plays; then its A fires the Emperor\'s forward shot');
}

async function touchControls(page) {
  check(await page.$eval('#touch-pad', (p) => p.hidden), 'no touch controls with a mouse and keys');
  await menuCommand(page, 1, 'touch');
  await page.click('#touch-pad [data-key="10"]');
  await page.click('#touch-pad .fire [data-key="1"]');
  await shot(page, 'features-2-touch-controls.png');
  check(JSON.stringify(await lastInputs(page, 2)) === '["key 10","key 1"]',
        'Hra > Dotykove ovladani povstalce: the arrows steer, the buttons fire');
  await menuCommand(page, 1, 'touch');
}

async function languages(browser, url) {
  const page = await openGame(browser, url, { language: 'en-US' });
  const english = await page.evaluate(() => [document.querySelector('#new-game .caption').textContent,
    document.querySelector('#menubar .title').textContent, document.documentElement.lang]);
  await shot(page, 'features-3-english.png');
  await startPlaying(page);
  await menuCommand(page, 1, 'language');
  await page.click('#language input[value=cs]');
  await page.keyboard.press('Enter');
  await page.waitForSelector('#language:not([open])');
  await page.reload();
  await page.waitForSelector('#new-game[open]');
  const czech = await page.evaluate(() => [document.querySelector('#new-game .caption').textContent,
    document.querySelector('#menubar .title').textContent,
    document.querySelector('#new-game .prompt').textContent]);
  check(english.join('|') === 'New game|Game|en', `an English browser gets English (${english})`);
  check(czech.join('|') === 'Nova hra|Hra|Za imperatora Morvathe I. hraje : ',
        `"Jazyk / Language" switches to Czech, exactly the game's texts, and it is kept (${czech})`);
  await page.evaluate(() => localStorage.removeItem('quarnex.Jazyk'));
  const slovak = await openGame(browser, url, { language: 'sk-SK' });
  check(await slovak.$eval('#new-game .caption', (c) => c.textContent) === 'Nova hra',
        'a Slovak browser gets Czech');
  await slovak.close();
  await page.close();
}

async function installable(page, url) {
  const manifest = await page.evaluate(async () => (await fetch('manifest.webmanifest')).json());
  const icons = [];
  for (const icon of manifest.icons) {
    const png = decodePng(Buffer.from(await page.evaluate(async (src) =>
      [...new Uint8Array(await (await fetch(src)).arrayBuffer())], icon.src)));
    icons.push(`${icon.src} ${png.width}x${png.height}`);
    const [w, h] = icon.sizes.split('x').map(Number);
    const corner = png.rgba[3];
    const middle = png.rgba[((png.height >> 1) * png.width + (png.width >> 1)) * 4 + 3];
    if (png.width !== w || png.height !== h || middle !== 255 ||
        (icon.purpose !== 'maskable' && corner !== 0)) icons.push('WRONG');
  }
  check(manifest.name === 'Quarnex 2.00' && manifest.display === 'standalone' &&
        icons.length === 4 && !icons.includes('WRONG'),
        `a web app manifest with the game's icons (${icons.join(', ')})`);
  // Compression: what serve.py sends for a browser that takes gzip.
  const wasm = fs.readdirSync(webDir).find((name) => /^quarnex\.[0-9a-f]{16}\.wasm$/.test(name));
  const raw = fs.readFileSync(path.join(webDir, wasm));
  const answer = await fetch(`${url}${wasm}`, { headers: { 'Accept-Encoding': 'gzip' } });
  const zipped = answer.headers.get('content-encoding');
  const body = Buffer.from(await answer.arrayBuffer());
  const plain = await fetch(`${url}${wasm}`, { headers: { 'Accept-Encoding': 'identity' } });
  const refused = await fetch(`${url}${wasm}`, { headers: { 'Accept-Encoding': 'gzip;q=0' } });
  check(zipped === 'gzip' && body.equals(raw) && plain.headers.get('content-encoding') === null &&
        refused.headers.get('content-encoding') === null &&
        Buffer.from(await refused.arrayBuffer()).equals(raw) &&
        Number(answer.headers.get('content-length') ?? 0) < raw.length / 2,
        `serve.py sends the wasm gzipped to browsers that take it (${raw.length} bytes raw, ${
          answer.headers.get('content-length')} sent)`);
}

async function offline(browser, webDir) {
  const server = await servePage(webDir);
  const page = await openGame(browser, server.url);
  // Generous waits: on a busy machine Chromium may be slow to store the
  // files and to run the game's timer.
  const stored = await page.waitForFunction(() => window.quarnex.offlineReady, { timeout: 45000 })
    .then(() => true, () => false);
  server.stop();
  await sleep(300);
  await page.reload();
  // The page has loaded once its game has started (on a busy machine the
  // New game dialog may already be gone by the time this looks: the check
  // is that the game runs, confirming the dialog when it is open).
  const loaded = await page.waitForFunction(() => window.quarnex?.started, { timeout: 45000 })
    .then(() => true, () => false);
  let played = false;
  if (loaded) {
    const asked = await page.waitForSelector('#new-game[open]', { timeout: 5000 })
      .then(() => true, () => false);
    if (asked) await startPlaying(page);
    const before = await ticks(page);
    for (let waited = 0; waited < 5000 && !played; waited += 200) {
      await sleep(200);
      played = await ticks(page) > before + 5;
    }
  }
  const reachable = await fetch(server.url).then(() => true, () => false);
  await shot(page, 'features-4-offline.png');
  check(stored && !reachable && loaded && played,
        'after one visit the page loads and plays with its server gone (service worker)' +
        ` (stored ${stored}, server gone ${!reachable}, loaded ${loaded}, played ${played})`);
  await page.close();
}

const server = await servePage(webDir);
const browser = await launchChromium(puppeteer);
try {
  const page = await openGame(browser, server.url, { before: (p) => p.evaluateOnNewDocument(fakePads) });
  await startPlaying(page);
  await pauseAndScore(page);
  await ownKeys(page);
  await gamepads(page);
  await touchControls(page);
  await installable(page, server.url);
  await page.close();
  await languages(browser, server.url);
  await offline(browser, webDir);
} finally {
  await browser.close();
  server.stop();
}
finish();
