// What the browser test and the page measurement share: the page served on
// 127.0.0.1 by web/serve.py and the system's Chromium driven by
// puppeteer-core (which downloads no browser).
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const SKIP = 77;
const here = path.dirname(fileURLToPath(import.meta.url));
const chromiumPath = process.env.QUARNEX_CHROMIUM || '/usr/bin/chromium';

// The flags for a machine with no display, no GPU and no network.
export const CHROMIUM_FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--no-first-run'];

// Exits with SKIP and a message naming what is missing.
export async function requireBrowser(webDir) {
  const skip = (why) => {
    console.log(`SKIP: ${why}`);
    process.exit(SKIP);
  };
  if (!fs.existsSync(path.join(webDir, 'index.html'))) {
    skip(`no page in ${webDir}; build it with \`make web\``);
  }
  if (!fs.existsSync(chromiumPath)) {
    skip(`Chromium is missing (${chromiumPath}); tools/install-deps.sh installs it`);
  }
  try {
    return (await import('puppeteer-core')).default;
  } catch {
    return skip('puppeteer-core is missing; tools/install-deps.sh installs it (npm ci in tests/web)');
  }
}

// Starts web/serve.py on a free port; resolves to { url, stop }.
export function servePage(webDir) {
  const server = spawn('python3', [path.join(here, '../../web/serve.py'), '--port', '0', webDir],
                       { stdio: ['ignore', 'pipe', 'inherit'] });
  // Whatever ends the test, the server goes with it.
  process.on('exit', () => server.kill());
  return new Promise((resolve, reject) => {
    let text = '';
    server.on('error', reject);
    server.on('exit', (code) => reject(new Error(`serve.py exited with ${code}`)));
    server.stdout.on('data', (chunk) => {
      text += chunk;
      const match = /http:\/\/127\.0\.0\.1:\d+\//.exec(text);
      if (match) resolve({ url: match[0], stop: () => server.kill() });
    });
  });
}

// A busy machine may take a while to start Chromium.
const LAUNCH_TIMEOUT_MS = 120000;

export function launchChromium(puppeteer, extraFlags = []) {
  return puppeteer.launch({
    executablePath: chromiumPath,
    headless: true,
    timeout: LAUNCH_TIMEOUT_MS,
    args: [...CHROMIUM_FLAGS, ...extraFlags],
  });
}

// Chromium with the browser's own throttling of hidden tabs, which
// puppeteer's default flags switch off.
export const THROTTLING_OFF_FLAGS = ['--disable-background-timer-throttling',
  '--disable-renderer-backgrounding', '--disable-backgrounding-occluded-windows'];
export function launchThrottledChromium(puppeteer, extraFlags = []) {
  return puppeteer.launch({
    executablePath: chromiumPath,
    headless: true,
    args: [...CHROMIUM_FLAGS, ...extraFlags],
    ignoreDefaultArgs: THROTTLING_OFF_FLAGS,
    timeout: LAUNCH_TIMEOUT_MS,
  });
}

// Prints each check and collects the failed ones.
export function checker() {
  const failures = [];
  const check = (ok, what) => {
    console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
    if (!ok) failures.push(what);
    return ok;
  };
  const finish = () => {
    console.log(failures.length ? `${failures.length} check(s) failed` : 'all checks passed');
    process.exit(failures.length ? 1 : 0);
  };
  return { check, failures, finish };
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Dialogs the game opens ignore keys for their first half second (keys held
// from the game); tests wait that long before answering them by key.
export const FRESH_KEYS_MS = 550;

// A new page in Czech (the game's own language) that has loaded and shows
// its first New game dialog.
export async function openGame(browser, url, { viewport = { width: 800, height: 600 },
  language = 'cs-CZ', before } = {}) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  await page.evaluateOnNewDocument((lang) => {
    Object.defineProperty(navigator, 'languages', { get: () => [lang] });
    Object.defineProperty(navigator, 'language', { get: () => lang });
  }, language);
  if (before) await before(page);
  await page.goto(url);
  await page.waitForSelector('#new-game[open]', { timeout: 15000 });
  return page;
}

// Confirms the first New game dialog by key, as a player would.
export async function startPlaying(page) {
  await sleep(FRESH_KEYS_MS);
  await page.keyboard.press('Enter');
  await page.waitForSelector('#new-game:not([open])');
}
