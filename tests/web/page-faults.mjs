// The page's faults a new player met, each tried in headless Chromium:
// opened from disk, without its wasm or with a broken one; keys while a
// menu title has the focus; menus behind an open dialog; Enter and Escape
// after clicks anywhere; dialogs' accessible names; a 320 px phone; a
// hidden tab with the browser's real throttling.
//   node page-faults.mjs WEB_DIR SCREENSHOT_DIR
import fs from 'node:fs';
import path from 'node:path';

import { checker, launchChromium, launchThrottledChromium, openGame, requireBrowser, servePage,
         sleep, startPlaying } from './browser.mjs';

const [webDir = 'build-web', shotDir = 'page-screenshots'] = process.argv.slice(2);
const puppeteer = await requireBrowser(webDir);
fs.mkdirSync(shotDir, { recursive: true });
const { check, finish } = checker();
const shot = (page, name) => page.screenshot({ path: path.join(shotDir, name) });

// The notice over the page: its text when it shows, otherwise null.
const noticeText = (page) => page.evaluate(() => {
  const notice = document.getElementById('notice');
  const box = notice.getBoundingClientRect();
  return !notice.hidden && box.width > 100 && box.height > 30 ? notice.textContent : null;
});
const menusDead = (page) => page.evaluate(() => document.getElementById('menubar').inert);
const waitNotice = (page) => page.waitForFunction(
  () => !document.getElementById('notice').hidden, { timeout: 10000 }).catch(() => {});

async function cannotStart(browser, url) {
  const fromDisk = await browser.newPage();
  await fromDisk.goto(`file://${path.resolve(webDir, 'index.html')}`);
  await waitNotice(fromDisk);
  const text = await noticeText(fromDisk);
  check(text?.includes('make web-serve') && text.includes('file://') && await menusDead(fromDisk),
        'opened from disk: a visible message says to serve it with `make web-serve`; menus dead');
  await shot(fromDisk, 'faults-1-from-disk.png');
  await fromDisk.close();

  // The wasm missing, broken, and a module missing.
  const cases = [
    ['quarnex.wasm', { status: 404, body: 'gone' }, 'quarnex.wasm', 'the wasm missing'],
    ['quarnex.wasm', { status: 200, contentType: 'application/wasm', body: 'not a program' },
     'quarnex.wasm', 'a broken wasm'],
    ['strings.mjs', { status: 404, body: 'gone' }, 'make web', 'a script missing'],
  ];
  for (const [file, answer, says, what] of cases) {
    const page = await openPageAnswering(browser, url, file, answer);
    await waitNotice(page);
    const message = await noticeText(page);
    check(message?.includes(says) && await menusDead(page),
          `${what}: a visible message (${JSON.stringify(message?.slice(0, 60))}...), menus dead`);
    if (file === 'quarnex.wasm' && answer.status === 404) await shot(page, 'faults-2-no-wasm.png');
    await page.close();
  }
}

async function openPageAnswering(browser, url, file, answer) {
  const page = await browser.newPage();
  await page.setRequestInterception(true);
  page.on('request', (request) => {
    // The build names the file after its content (quarnex.0123456789abcdef.wasm).
    const [stem, ext] = file.split('.');
    if (new RegExp(`/${stem}(\\.[0-9a-f]{16})?\\.${ext}$`).test(request.url())) request.respond(answer);
    else request.continue();
  });
  await page.goto(url);
  return page;
}

async function keysAndMenus(page) {
  await startPlaying(page);
  const inputs = () => page.evaluate(() => window.quarnex.inputs.length);
  const expanded = () => page.$$eval('#menubar .title', (t) => t.map((e) => e.ariaExpanded));
  // Tabbing back from the scene reaches "Hra"; Enter and Space open its
  // menu and give the game nothing.
  await page.focus('#screen');
  await page.keyboard.down('Shift');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Tab');
  await page.keyboard.up('Shift');
  const focused = await page.evaluate(() => document.activeElement.textContent);
  const before = await inputs();
  await page.keyboard.press('Enter');
  const openedByEnter = (await expanded())[0] === 'true';
  const onFirst = await page.evaluate(() => document.activeElement.dataset.command);
  await page.keyboard.press('ArrowDown');
  const onSecond = await page.evaluate(() => document.activeElement.dataset.command);
  await page.keyboard.press('Escape');
  await page.focus('#menubar .title');
  await page.keyboard.press('Space');
  const openedBySpace = (await expanded())[0] === 'true';
  await page.keyboard.press('Escape');
  check(focused === 'Hra' && openedByEnter && openedBySpace && onFirst === 'new' &&
        onSecond === 'save-replay' && await inputs() === before,
        'Tab to "Hra", then Enter or Space open its menu (arrows walk it); the game gets no key ' +
        `(${JSON.stringify([focused, openedByEnter, openedBySpace, onFirst, onSecond, before])}, ${
          JSON.stringify(await page.evaluate(() => window.quarnex.inputs.slice(-3)))})`);
  await page.focus('#screen');
  await page.keyboard.press('Space');
  check((await page.evaluate(() => window.quarnex.inputs.at(-1))) === 'key 1',
        'with the scene focused, Space fires');

  // Alt+H opens the menu; not while a dialog is open.
  await page.keyboard.down('Alt');
  await page.keyboard.press('KeyH');
  await page.keyboard.up('Alt');
  const altOpens = (await expanded())[0] === 'true';
  await page.keyboard.press('Escape');
  await page.click('#menubar .menu:nth-child(2) .title');
  await page.click('[data-command="about"]');
  await page.keyboard.down('Alt');
  await page.keyboard.press('KeyH');
  await page.keyboard.up('Alt');
  await page.click('#menubar .menu:nth-child(1) .title').catch(() => {});
  const behind = await expanded();
  const deadBehind = await menusDead(page);
  await page.keyboard.press('Enter');
  const alive = await page.waitForFunction(() => !document.getElementById('menubar').inert &&
                                           !document.getElementById('about').open, { timeout: 2000 })
    .then(() => true, () => false);
  check(altOpens && !behind.includes('true') && deadBehind && alive,
        'Alt+H opens "Hra", but neither it nor a click opens a menu behind an open dialog');
}

// Every dialog closes with Enter (OK) and Escape after a click on its text,
// its caption or the backdrop.
async function enterAndEscape(page) {
  const dialogs = [['about', 2, 'about'], ['controls', 2, 'controls'], ['language', 1, 'language'],
    ['new-game', 1, 'new']];
  const results = [];
  for (const [id, menu, command] of dialogs) {
    for (const [where, key] of [['.body', 'Enter'], ['.caption', 'Escape'], [null, 'Enter'],
      [null, 'Escape']]) {
      await page.click(`#menubar .menu:nth-child(${menu}) .title`);
      await page.click(`[data-command="${command}"]`);
      await page.waitForSelector(`#${id}[open]`);
      if (where) {
        const box = await (await page.$(`#${id} ${where}`)).boundingBox();
        await page.mouse.click(box.x + 3, box.y + 3);
      } else {
        await page.mouse.click(2, 590);  // the backdrop
      }
      await page.keyboard.press(key);
      const closed = await page.waitForSelector(`#${id}:not([open])`, { timeout: 1000 })
        .then(() => true, () => false);
      results.push(`${id} ${where ?? 'backdrop'} ${key}: ${closed ? 'closed' : 'STAYED OPEN'}`);
      if (!closed) await page.evaluate((d) => document.getElementById(d).close(), id);
    }
  }
  const stuck = results.filter((r) => r.includes('STAYED'));
  check(stuck.length === 0, `Enter and Escape close every dialog whatever was clicked${
    stuck.length ? `: ${stuck.join('; ')}` : ''}`);
}

// Each dialog's accessible name is its caption and its description its text.
async function accessibleNames(page) {
  const names = await page.evaluate(() => [...document.querySelectorAll('dialog')].map((d) => {
    const text = (ids) => (ids ?? '').split(' ').map((id) => document.getElementById(id)?.textContent ?? '')
      .join(' ').trim();
    return { id: d.id, name: text(d.getAttribute('aria-labelledby')),
             caption: d.querySelector('.caption').id === d.getAttribute('aria-labelledby'),
             description: d.getAttribute('aria-describedby') && d.getAttribute('aria-describedby')
               .split(' ').every((id) => d.contains(document.getElementById(id))) };
  }));
  // The end-of-game box and the page's message get their caption when opened.
  check(names.length === 8 && names.every((n) => n.caption && n.description &&
        (n.name || n.id === 'end-of-game' || n.id === 'message')),
        `every dialog is named by its caption and described by its own text (${
          names.map((n) => `${n.id}: "${n.name}"`).join(', ')})`);
  // What a screen reader gets for the About box.
  await page.click('#menubar .menu:nth-child(2) .title');
  await page.click('[data-command="about"]');
  const tree = await page.accessibility.snapshot({ interestingOnly: true });
  const find = (node) => (node.role === 'dialog' ? node : node.children?.map(find).find(Boolean));
  const dialog = find(tree);
  check(dialog?.name === 'O Aplikaci Quarnex II' && dialog.description?.includes('Marbek'),
        `a screen reader reads the About box's caption and text (${dialog?.name} / ${dialog?.description})`);
  await page.keyboard.press('Escape');
}

async function phone(browser, url) {
  const viewport = { width: 320, height: 640, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
  const page = await openGame(browser, url, { viewport });
  const fits = (id) => page.evaluate((d) => {
    const dialog = document.getElementById(d);
    const box = dialog.getBoundingClientRect();
    return box.left >= 0 && box.right <= innerWidth && dialog.scrollWidth <= dialog.clientWidth &&
           document.documentElement.scrollWidth <= innerWidth;
  }, id);
  const viewportMeta = await page.$eval('meta[name=viewport]', (m) => m.content);
  check(!/user-scalable\s*=\s*(no|0)|maximum-scale\s*=\s*1(\.0)?\b/.test(viewportMeta),
        `pinch zoom is allowed (${viewportMeta})`);
  const rebelHuman = await page.$eval('#new-game input[name=rebelHuman]', (b) => b.checked);
  check(!rebelHuman, 'a touch screen without keyboard: New game offers the computer for the Rebel');
  const sizes = [['new-game', await fits('new-game')]];
  await shot(page, 'faults-3-phone-320-new-game.png');
  // A person for the Rebel brings its touch controls.
  await page.click('#new-game input[name=rebelHuman]');
  await page.click('#new-game button[value=ok]');
  check(await page.waitForSelector('#touch-pad:not([hidden])', { timeout: 2000 }).then(() => true,
                                                                                     () => false),
        'a person chosen for the Rebel on a touch screen gets the Rebel\'s touch controls');
  await shot(page, 'faults-5-phone-320-touch.png');
  for (const [id, menu, command] of [['about', 2, 'about'], ['controls', 2, 'controls'],
    ['language', 1, 'language'], ['net-game', 1, 'net-game']]) {
    await page.click(`#menubar .menu:nth-child(${menu}) .title`);
    await page.click(`[data-command="${command}"]`);
    sizes.push([id, await fits(id)]);
    if (id === 'controls') await shot(page, 'faults-4-phone-320-controls.png');
    await page.evaluate((d) => document.getElementById(d).close(), id);
  }
  // The invite, with a long link, as a game created here shows it.
  await page.evaluate(() => {
    const invite = document.getElementById('net-invite');
    invite.querySelector('.code').textContent = '7K2M9QXZ';
    invite.querySelector('.link').textContent =
      'http://play.example.net:29030/#join=7K2M9QXZ@eu3.play.example.net:29030';
    invite.showModal();
  });
  sizes.push(['net-invite', await fits('net-invite')]);
  await page.evaluate(() => document.getElementById('net-invite').close());
  check(sizes.every(([, ok]) => ok), `every dialog fits 320 px (${sizes.map(([id, ok]) =>
    `${id} ${ok ? 'fits' : 'DOES NOT FIT'}`).join(', ')})`);
  // New game offers the person again while the touch controls are on, the
  // computer once they are off.
  const offered = [];
  for (let i = 0; i < 2; i++) {
    await page.click('#menubar .menu:nth-child(1) .title');
    await page.click('[data-command="new"]');
    offered.push(await page.$eval('#new-game input[name=rebelHuman]', (b) => b.checked));
    await page.click('#new-game button[value=ok]');
    await page.waitForSelector('#new-game:not([open])');
    await page.click('#menubar .menu:nth-child(1) .title');
    await page.click('[data-command="touch"]');
  }
  check(offered[0] && !offered[1], 'New game offers a person for the Rebel only while its touch ' +
        `controls are on (${offered})`);
  await page.close();
}

async function hiddenTab(url) {
  const browser = await launchThrottledChromium(puppeteer);
  try {
    const page = await openGame(browser, url);
    await startPlaying(page);
    await sleep(300);
    await page.evaluate(() => {
      window.probe = 0;
      setInterval(() => { window.probe++; }, 30);
    });
    const other = await browser.newPage();
    await other.bringToFront();
    await sleep(200);
    const hidden = await page.evaluate(() => ({ state: document.visibilityState,
      ticks: window.quarnex.ticks, probe: window.probe }));
    await sleep(2000);
    const later = await page.evaluate(() => ({ ticks: window.quarnex.ticks, probe: window.probe }));
    const probeRate = (later.probe - hidden.probe) / 2;
    check(hidden.state === 'hidden' && probeRate < 5,
          `the tab is hidden and the browser throttles it (a 30 ms timer ran ${probeRate.toFixed(1)} times a second)`);
    check(later.ticks === hidden.ticks, 'the game stands still while its tab is hidden');
    await page.bringToFront();
    await sleep(200);
    const back = await page.evaluate(() => ({ note: document.getElementById('pause-note'),
      title: document.title, ticks: window.quarnex.ticks }))
      .then(async (b) => ({ ...b, note: await page.$eval('#pause-note', (n) => (n.hidden ? null : n.textContent)) }));
    await sleep(300);
    check(back.note?.includes('karta nebyla videt') && back.title.endsWith('pauza') &&
          await page.evaluate(() => window.quarnex.ticks) === back.ticks,
          `back on the tab the game waits and says why ("${back.note}", title "${back.title}")`);
    await shot(page, 'faults-6-back-from-hidden-tab.png');
    await page.keyboard.press('KeyP');
    await sleep(300);
    check(await page.evaluate(() => window.quarnex.ticks) > back.ticks &&
          await page.$eval('#pause-note', (n) => n.hidden), 'P goes on');
  } finally {
    await browser.close();
  }
}

const server = await servePage(webDir);
const browser = await launchChromium(puppeteer);
try {
  await cannotStart(browser, server.url);
  const page = await openGame(browser, server.url);
  await keysAndMenus(page);
  await enterAndEscape(page);
  await accessibleNames(page);
  await page.close();
  await phone(browser, server.url);
  await hiddenTab(server.url);
} finally {
  await browser.close();
  server.stop();
}
finish();
