// The page's edges, tried in headless Chromium: broken invite links say
// what is wrong with them (English and Czech) and leave the address bar;
// the network dialog with settings it did not write, a huge server name,
// its named choices; the scene's keyboard focus.
//   node page-edges.mjs WEB_DIR SCREENSHOT_DIR
import fs from 'node:fs';
import path from 'node:path';

import { checker, launchChromium, openGame, requireBrowser, servePage, sleep,
         startPlaying } from './browser.mjs';

const [webDir = 'build-web', shotDir = 'page-screenshots'] = process.argv.slice(2);
const puppeteer = await requireBrowser(webDir);
fs.mkdirSync(shotDir, { recursive: true });
const { check, finish } = checker();

const LINKS = [
  ['#join=', 'The network game link has no game code.', 'V odkazu na sitovou hru chybi kod hry.'],
  ['#join=%00', 'The game code in the network game link is not valid (8 to 12 letters and digits).',
   'Kod hry v odkazu na sitovou hru neplati (8 az 12 pismen a cislic).'],
  ['#join=%E0%A4%A', 'The network game link is damaged (badly encoded characters).',
   'Odkaz na sitovou hru je poskozeny (chybne zakodovane znaky).'],
  [`#join=${'7K2M9QXZ'.repeat(1280)}`, 'The network game link is too long.',
   'Odkaz na sitovou hru je prilis dlouhy.'],
  ['#join=<script>', 'The game code in the network game link is not valid (8 to 12 letters and digits).',
   'Kod hry v odkazu na sitovou hru neplati (8 az 12 pismen a cislic).'],
  ['#watch=7K2M9QXZ@bad host', 'The server address in the network game link is not valid (host:port).',
   'Adresa serveru v odkazu na sitovou hru neplati (pocitac:port).'],
];

// Each link opened as a fresh page: a message in the page's language, the
// hash gone, then the usual New game dialog.
async function brokenLinks(browser, url) {
  for (const [language, column] of [['en-US', 1], ['cs-CZ', 2]]) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument((lang) => {
      Object.defineProperty(navigator, 'languages', { get: () => [lang] });
    }, language);
    for (const link of LINKS) {
      await page.goto('about:blank');
      await page.goto(url + link[0]);
      const said = await page.waitForSelector('#message[open]', { timeout: 15000 })
        .then(() => page.$eval('#message .text', (t) => t.textContent), () => null);
      const hash = await page.evaluate(() => location.href.includes('#'));
      await page.keyboard.press('Enter');
      const newGame = await page.waitForSelector('#new-game[open]', { timeout: 5000 })
        .then(() => true, () => false);
      check(said === link[column] && !hash && newGame,
            `${language} ${link[0].slice(0, 20)}: "${said}", the hash cleared (${!hash}), then New game`);
    }
    await page.close();
  }
}

const NET_KEY = 'quarnex.Sit';
const netFields = (page) => page.$eval('#net-game form', (form) => ({
  server: form.elements.server.value, mode: form.elements.mode.value,
  side: form.elements.side.value, code: form.elements.code.value,
}));
const openNetDialog = async (page) => {
  await page.click('#menubar .menu:nth-child(1) .title');
  await page.click('[data-command="net-game"]');
  await page.waitForSelector('#net-game[open]');
};

async function netDialog(browser, url) {
  const page = await openGame(browser, url, { language: 'en-US' });
  await startPlaying(page);
  const host = new URL(url).host;
  // Valid JSON that the dialog did not write: the defaults.
  for (const stored of ['{"server":{"a":1},"code":["x"]}', '[1,2]', '{"mode":"bogus","side":7,"code":5}']) {
    await page.evaluate((key, value) => localStorage.setItem(key, value), NET_KEY, stored);
    await openNetDialog(page);
    const fields = await netFields(page);
    await page.keyboard.press('Escape');
    check(fields.server === host && fields.mode === 'create' && fields.side === '1' &&
          fields.code === '', `a stored ${stored} is as none (${JSON.stringify(fields)})`);
  }
  await openNetDialog(page);
  const tree = await page.accessibility.snapshot({ interestingOnly: false });
  const groups = [];
  const walk = (node) => {
    if (node.role === 'group') groups.push(node.name);
    node.children?.forEach(walk);
  };
  walk(tree);
  check(groups.includes('What to do on the server'), `the dialog's choices are named (${groups})`);
  // A 10 KB server name: the message fits in the window.
  await page.$eval('#net-game input[name=server]', (input) => { input.value = 'a'.repeat(10240); });
  await page.click('#net-game button[value=ok]');
  await page.waitForSelector('#message[open]', { timeout: 5000 });
  const box = await page.$eval('#message', (dialog) => {
    const r = dialog.getBoundingClientRect();
    const text = dialog.querySelector('.text');
    return { right: r.right, bottom: r.bottom, wide: text.scrollWidth > text.clientWidth,
             length: text.textContent.length, view: [innerWidth, innerHeight] };
  });
  await page.screenshot({ path: path.join(shotDir, 'edges-1-long-server.png') });
  await page.keyboard.press('Enter');
  await page.waitForSelector('#message:not([open])');
  await sleep(100);
  check(box.right <= box.view[0] && box.bottom <= box.view[1] && !box.wide && box.length < 200,
        `a 10 KB server name stays inside the message (${JSON.stringify(box)})`);

  // The keyboard's way onto the scene shows where the focus is.
  await page.focus('#menubar .menu:nth-child(2) .title');
  await page.keyboard.press('Tab');
  const ring = await page.evaluate(() => {
    const style = getComputedStyle(document.activeElement);
    return { id: document.activeElement.id, style: style.outlineStyle, width: style.outlineWidth };
  });
  await page.keyboard.press('ArrowUp');
  const playing = await page.$eval('#screen', (c) => getComputedStyle(c).outlineStyle);
  check(ring.id === 'screen' && ring.style !== 'none' && parseFloat(ring.width) >= 2 &&
        playing === 'none',
        `Tab onto the scene shows the focus (${JSON.stringify(ring)}), the game's keys hide it`);

  await page.close();
}

const server = await servePage(webDir);
const browser = await launchChromium(puppeteer);
try {
  await brokenLinks(browser, server.url);
  await netDialog(browser, server.url);
} finally {
  await browser.close();
  server.stop();
}
finish();
