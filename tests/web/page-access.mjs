// The page for every player, tried in headless Chromium: a phone held
// upright (the scene in its own proportions, the Rebel's buttons below it,
// finger-sized targets) and sideways (the scene still 3:2, the buttons
// beside it) in English and Czech, every dialog control finger-sized at four
// phone sizes, the desktop as it was; the menus by keyboard past disabled items; names a screen
// reader reads; a browser whose storage is full.
//   node page-access.mjs WEB_DIR SCREENSHOT_DIR
import fs from 'node:fs';
import path from 'node:path';

import { checker, launchChromium, openGame, requireBrowser, servePage,
         startPlaying } from './browser.mjs';

const [webDir = 'build-web', shotDir = 'page-screenshots'] = process.argv.slice(2);
const puppeteer = await requireBrowser(webDir);
fs.mkdirSync(shotDir, { recursive: true });
const { check, finish } = checker();

const PHONE = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
// Each page starts from nothing kept (the pages share their storage).
const fresh = (page) => page.evaluateOnNewDocument(() => localStorage.clear());
const openMenu = (page, n) => page.click(`#menubar .menu:nth-child(${n}) .title`);

// The canvas's box on the page, its drawing size, the touch buttons' boxes
// and whether the hint to turn the phone shows.
const layout = (page) => page.evaluate(() => {
  const box = (e) => {
    const r = e.getBoundingClientRect();
    return { left: r.left, top: r.top, right: r.right, bottom: r.bottom };
  };
  const canvas = document.getElementById('screen');
  const pad = document.getElementById('touch-pad');
  const hint = document.getElementById('turn-hint');
  return { scene: box(canvas), drawn: [canvas.width, canvas.height],
           buttons: pad.hidden ? [] : [...pad.querySelectorAll('button')].map(box),
           hint: hint?.offsetHeight > 0 && hint.textContent, view: [innerWidth, innerHeight] };
});
// Waits until the game draws at the canvas's size on the page (after a turn).
const settled = (page) => page.waitForFunction(() => {
  const canvas = document.getElementById('screen');
  const box = canvas.getBoundingClientRect();
  return Math.abs(canvas.width - box.width * devicePixelRatio) <= 1 &&
         Math.abs(canvas.height - box.height * devicePixelRatio) <= 1;
}, { timeout: 10000 }).catch(() => {});
const overlaps = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
const heights = (page, selector) => page.$$eval(selector, (all) =>
  all.filter((e) => e.offsetParent).map((e) => e.getBoundingClientRect().height));

// The names a screen reader finds for every node of `role`.
async function readerNames(page, role) {
  const tree = await page.accessibility.snapshot({ interestingOnly: true });
  const found = [];
  const walk = (node) => {
    if (node.role === role) found.push(node.name);
    node.children?.forEach(walk);
  };
  walk(tree);
  return found;
}

// Upright phone: the scene 3:2 within 5%, no touch button over it, all of
// them on screen; menu items and dialog buttons at least 44 px; the menus and
// New game's check boxes named; sideways as before.
async function phone(browser, url, language, texts) {
  const page = await openGame(browser, url, { viewport: PHONE, language, before: fresh });
  const okHeights = await heights(page, '#new-game button');
  const boxes = await readerNames(page, 'checkbox');
  check(JSON.stringify(boxes) === JSON.stringify(texts.boxes),
        `${language}: the New game check boxes are named by side (${boxes})`);
  await page.click('#new-game input[name=rebelHuman]');
  await page.click('#new-game button[value=ok]');
  await page.waitForSelector('#touch-pad:not([hidden])');
  await settled(page);
  const seen = await layout(page);
  const shown = (seen.scene.right - seen.scene.left) / (seen.scene.bottom - seen.scene.top);
  const covered = seen.buttons.filter((b) => overlaps(b, seen.scene)).length;
  const offScreen = seen.buttons.filter((b) => b.bottom > seen.view[1] || b.right > seen.view[0]);
  check([seen.drawn[0] / seen.drawn[1], shown].every((r) => Math.abs(r / 1.5 - 1) < 0.05) &&
        seen.drawn[0] >= 3 * 380,
        `${language}: upright the scene is drawn at 3:2 (${seen.drawn.join('x')} device pixels, ${
          shown.toFixed(3)} on the page)`);
  check(seen.buttons.length === 12 && covered === 0 && offScreen.length === 0,
        `${language}: the Rebel's ${seen.buttons.length} buttons lie below the scene, on screen (${
          covered} over it)`);
  check(seen.hint === texts.hint, `${language}: the phone asks to be turned ("${seen.hint}")`);
  await page.screenshot({ path: path.join(shotDir, `access-1-phone-portrait-${language}.png`) });
  await openMenu(page, 1);
  const items = await heights(page, '#menubar .menu.open button');
  const menus = await readerNames(page, 'menu');
  await page.keyboard.press('Escape');
  await openMenu(page, 2);
  menus.push(...await readerNames(page, 'menu'));
  await page.keyboard.press('Escape');
  const sizes = [...okHeights, ...items];
  check(sizes.length === 11 && Math.min(...sizes) >= 44,
        `${language}: menu items and dialog buttons are at least 44 px tall (${Math.min(...sizes)})`);
  check(menus.join() === texts.menus, `${language}: the menus are named (${menus})`);
  // Turned sideways the scene keeps its 3:2 and the buttons keep beside it.
  await page.setViewport({ ...PHONE, width: PHONE.height, height: PHONE.width });
  await settled(page);
  const wide = await layout(page);
  const ratio = (wide.scene.right - wide.scene.left) / (wide.scene.bottom - wide.scene.top);
  const coveredWide = wide.buttons.filter((b) => overlaps(b, wide.scene)).length;
  const offWide = wide.buttons.filter((b) => b.bottom > wide.view[1] || b.right > wide.view[0]).length;
  check([ratio, wide.drawn[0] / wide.drawn[1]].every((r) => Math.abs(r / 1.5 - 1) < 0.02) &&
        wide.scene.bottom - wide.scene.top >= 0.75 * wide.view[1] && !wide.hint &&
        wide.buttons.length === 12 && coveredWide === 0 && offWide === 0,
        `${language}: sideways the scene is 3:2 (${ratio.toFixed(3)}, ${wide.drawn.join('x')}) with ${
          wide.buttons.length} buttons beside it (${coveredWide} over it, ${offWide} off screen)`);
  await page.screenshot({ path: path.join(shotDir, `access-2-phone-landscape-${language}.png`) });
  await page.close();
}

// Every control of the dialogs a phone player meets (New game, Network
// game, Language) is at least 44 px both ways, upright and sideways.
async function fingerTargets(browser, url) {
  const CONTROLS = 'button, label:has(> input[type=checkbox], > input[type=radio]), select, ' +
                   'input[type=text]';
  for (const [width, height] of [[360, 640], [390, 844], [412, 915], [844, 390]]) {
    const page = await openGame(browser, url, { language: 'en-US', before: fresh,
      viewport: { ...PHONE, width, height } });
    const sizes = async (dialog) => page.$$eval(`${dialog} :is(${CONTROLS})`, (all) => all
      .filter((e) => e.offsetParent)
      .map((e) => {
        const r = e.getBoundingClientRect();
        return { what: e.name || e.textContent.trim().slice(0, 12) || e.tagName, w: r.width, h: r.height };
      }));
    const found = await sizes('#new-game');
    await page.screenshot({ path: path.join(shotDir, `access-3-new-game-${width}x${height}.png`) });
    await page.click('#new-game button[value=ok]');
    await page.waitForSelector('#new-game:not([open])');
    for (const [command, dialog] of [['net-game', '#net-game'], ['language', '#language']]) {
      await openMenu(page, 1);
      await page.click(`[data-command="${command}"]`);
      await page.waitForSelector(`${dialog}[open]`);
      found.push(...await sizes(dialog));
      await page.keyboard.press('Escape');
    }
    const small = found.filter((c) => c.w < 44 || c.h < 44);
    check(found.length === 16 && small.length === 0,
          `at ${width}x${height} all ${found.length} dialog controls are 44 px or more (${
            small.map((c) => `${c.what} ${Math.round(c.w)}x${Math.round(c.h)}`).join(', ') || 'none smaller'})`);
    await page.close();
  }
}

// Desktop: the scene fills the window as before; the arrows go round
// both menus' enabled items both ways, "Ukoncit sitovou hru" passed over;
// the controls page's key buttons are named by action and key.
async function keyboard(browser, url) {
  const page = await openGame(browser, url, { before: fresh });
  await startPlaying(page);
  const desk = await layout(page);
  const titleHeight = (await heights(page, '#menubar .title'))[0];
  check(desk.scene.right === 800 && desk.scene.bottom === 600 && !desk.hint && titleHeight < 30,
        `at 800x600 the scene fills the window below a ${titleHeight} px menu bar, as before`);
  const focused = () => page.evaluate(() => document.activeElement.dataset.command);
  for (const [n, letter] of [[1, 'KeyH'], [2, 'KeyN']]) {
    const want = await page.$$eval(`#menubar .menu:nth-child(${n}) [data-command]`,
                                   (all) => all.filter((i) => !i.disabled).map((i) => i.dataset.command));
    await page.keyboard.down('Alt');
    await page.keyboard.press(letter);
    await page.keyboard.up('Alt');
    const walked = [await focused()];
    for (const key of [...want.map(() => 'ArrowDown'), ...want.map(() => 'ArrowUp')]) {
      await page.keyboard.press(key);
      walked.push(await focused());
    }
    await page.keyboard.press('Escape');
    check(walked.join() === [...want, want[0], ...[...want].reverse()].join() &&
          want.length === [8, 2][n - 1] && !want.includes('net-stop'),
          `the arrows go round every enabled item of menu ${n} both ways (${walked.join(' ')})`);
  }
  await openMenu(page, 2);
  await page.click('[data-command="controls"]');
  const buttons = await readerNames(page, 'button');
  const named = buttons.filter((b) => /^[^:]+: .+/.test(b));
  check(named.length === 13 && ['Nahoru: sipka nahoru, num 8', 'Strela dopredu: mezernik',
    'Strela nahoru (imperator): Enter'].every((w) => named.includes(w)),
        `the controls page's 13 key buttons are named by action and key (${named.slice(8, 11).join(' | ')})`);
  await page.keyboard.press('Escape');
  await page.close();
}

// localStorage that throws on every write: one message, the game goes on.
async function fullStorage(browser, url) {
  const errors = [];
  const page = await openGame(browser, url, {
    before: (p) => {
      p.on('pageerror', (error) => errors.push(error.message));
      return p.evaluateOnNewDocument(() => {
        localStorage.clear();
        Storage.prototype.setItem = () => {
          throw new DOMException('The quota has been exceeded.', 'QuotaExceededError');
        };
      });
    },
  });
  await page.evaluate(() => {
    window.messages = 0;
    document.getElementById('message').addEventListener('close', () => { window.messages++; });
  });
  await startPlaying(page);
  const said = await page.waitForSelector('#message[open]', { timeout: 5000 })
    .then(() => page.$eval('#message-text', (t) => t.textContent), () => null);
  await page.keyboard.press('Enter');
  for (const command of ['score', 'touch', 'touch']) {
    await openMenu(page, 1);
    await page.click(`[data-command="${command}"]`);
  }
  const ticks = await page.evaluate(() => window.quarnex.ticks);
  const going = await page.waitForFunction((t) => window.quarnex.ticks > t + 5, { timeout: 10000 },
                                           ticks).then(() => true, () => false);
  const after = await page.evaluate(() => ({ title: document.title, messages: window.messages,
                                             open: document.getElementById('message').open }));
  check(said?.startsWith('Nastaveni nelze v tomto prohlizeci ulozit') && after.messages === 1 &&
        !after.open, `a full storage is said once ("${said?.slice(0, 50)}...", ${after.messages} message)`);
  check(going && after.title === 'Quarnex 2.00 - 0 : 0' && errors.length === 0,
        `and the game goes on, the score shown (${after.title}; errors: ${errors.join('; ') || 'none'})`);
  await page.close();
}

const server = await servePage(webDir);
const browser = await launchChromium(puppeteer);
try {
  await phone(browser, server.url, 'en-US', { boxes: ['Emperor: human', 'Rebel: human'],
    hint: 'Turn the phone sideways for a bigger scene.', menus: 'Game,Help' });
  await phone(browser, server.url, 'cs-CZ', { boxes: ['Imperator: clovek', 'Povstalec: clovek'],
    hint: 'Otocte telefon na sirku, scena bude vetsi.', menus: 'Hra,Napoveda' });
  await fingerTargets(browser, server.url);
  await keyboard(browser, server.url);
  await fullStorage(browser, server.url);
} finally {
  await browser.close();
  server.stop();
}
finish();
