// Network play in the page, in headless Chromium, through a match server
// the test starts: the dialog with its invite, two pages playing each other
// (one opens the other's #join= link) to equal states, a #watch= page that
// comes late and sees the same game, a page whose tab is hidden (with the
// browser's real throttling) that does not hold the other player up, an
// unknown code, a page against the native simulator (ENet), a page whose
// game ends at the shorter length the other side chose, a page frozen in
// the background and one left mid-game, and the server going away mid-game.
//   node page-netplay.mjs WEB_DIR SCREENSHOT_DIR QUARNEX_SERVER [QUARNEX_SIM]
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { checker, launchChromium, launchThrottledChromium, openGame, requireBrowser, sleep,
         startPlaying } from './browser.mjs';

const [webDir = 'build-web', shotDir = 'page-screenshots', serverPath, simPath] =
  process.argv.slice(2);
const puppeteer = await requireBrowser(webDir);
if (!serverPath || !fs.existsSync(serverPath)) {
  console.log(`SKIP: no match server (${serverPath})`);
  process.exit(77);
}
fs.mkdirSync(shotDir, { recursive: true });
const { check, finish } = checker();
const shot = (page, name) => page.screenshot({ path: path.join(shotDir, name) });

const TICKS = 500;

// A match server on a free port of 127.0.0.1 serving the page.
function startServer() {
  const server = spawn(serverPath, ['--port', '0', '--bind', '127.0.0.1', '--web', webDir,
    '--max-per-address', '256'], { stdio: ['ignore', 'pipe', 'inherit'] });
  process.on('exit', () => server.kill('SIGKILL'));
  return new Promise((resolve, reject) => {
    server.on('error', reject);
    server.stdout.on('data', (chunk) => {
      const match = /listening on (\d+)/.exec(String(chunk));
      if (match) resolve({ process: server, url: `http://127.0.0.1:${match[1]}/` });
    });
  });
}

const report = (page) => page.evaluate(() => window.quarnex?.net?.report() ?? { phase: -2 });
const last = (page) => page.evaluate(() => window.quarnex?.net?.last() ?? null);
const waitFor = async (what, test, ms) => {
  const until = Date.now() + ms;
  for (;;) {
    const value = await what();
    if (test(value)) return value;
    if (Date.now() > until) return null;
    await sleep(100);
  }
};
const menuCommand = async (page, command) => {
  await page.click('#menubar .menu:nth-child(1) .title');
  await page.click(`[data-command="${command}"]`);
};
const message = (page) => page.$eval('#message', (d) => (d.open ? d.querySelector('.text').textContent : null));

// "Hra" > "Sitova hra...": the page's own server, a game created for the
// Rebel, its code and link shown with a copy button; "Zrusit hru" gives it up.
async function dialogAndInvite(browser, url) {
  const page = await openGame(browser, url);
  await startPlaying(page);
  await menuCommand(page, 'net-game');
  await page.waitForSelector('#net-game[open]');
  const server = await page.$eval('#net-game input[name=server]', (i) => i.value);
  check(server === new URL(url).host, `the dialog offers the page's own server (${server})`);
  await page.select('#net-game select[name=side]', '2');
  await page.click('#net-game button[value=ok]');
  const invite = await page.waitForSelector('#net-invite[open]', { timeout: 5000 }).then(() => true, () => false);
  const code = await page.$eval('#net-invite .code', (c) => c.textContent);
  const link = await page.$eval('#net-invite .link', (a) => a.href);
  check(invite && /^[0-9A-HJKMNP-TV-Z]{8}$/.test(code) && link === `${url}#join=${code}`,
        `creating shows the invite code and its link (${code}, ${link})`);
  check(await page.title() === `Quarnex 2.00 - cekam na soupere, kod ${code}`,
        `the title says the game waits (${await page.title()})`);
  await page.click('#net-invite .copy');
  const copied = await waitFor(() => page.$eval('#net-invite .copied', (c) => c.textContent), Boolean, 2000);
  check(Boolean(copied), `the copy button says what it did (${copied})`);
  await shot(page, 'netplay-1-invite.png');
  await page.click('#net-invite button[value=leave]');
  const ended = await waitFor(() => report(page), (r) => r.phase === -1, 3000);
  const enabled = await page.$eval('[data-command=net-stop]', (b) => b.disabled);
  check(ended && enabled && await message(page) === null,
        'Zrusit hru gives the game up, without a message; the menu offers a new one');
  // The choices are kept for the next time.
  await menuCommand(page, 'net-game');
  await page.waitForSelector('#net-game[open]');
  const side = await page.$eval('#net-game select[name=side]', (s) => s.value);
  await page.click('#net-game input[value=join]');
  await page.type('#net-game input[name=code]', 'zzzz-zzzz');
  await page.click('#net-game button[value=ok]');
  const unknown = await waitFor(() => message(page), Boolean, 5000);
  check(side === '2' && unknown === 'Hra s kodem ZZZZZZZZ neexistuje. Zkontrolujte kod.',
        `the side is kept; an unknown code is said so (${unknown})`);
  await page.close();
}

// Two pages play each other; the joiner's tab is hidden for a while; a
// spectator comes late.
async function twoPagesAndASpectator(browser, url) {
  const hostPage = await openGame(browser, url);
  await startPlaying(hostPage);
  // The host names itself in the request, the guest by its kept dialog
  // choices: both names reach both players and the spectator.
  await hostPage.evaluate((ticks) => window.quarnex.net.start({ kind: 'create', ticks, name: 'Eva' }),
                          TICKS);
  const waiting = await waitFor(() => report(hostPage), (r) => r.phase === 1, 5000);
  const code = waiting?.code;
  check(Boolean(code), `the host waits with its code (${code})`);

  const throttled = await launchThrottledChromium(puppeteer);
  try {
    const guest = await throttled.newPage();
    await guest.setViewport({ width: 800, height: 600 });
    await guest.evaluateOnNewDocument(() => {
      Object.defineProperty(navigator, 'languages', { get: () => ['cs-CZ'] });
      localStorage.setItem('quarnex.Sit', JSON.stringify({ name: 'Jan \u010cern\u00fd' }));
    });
    await guest.goto(`${url}#join=${code}`);
    const playing = await waitFor(() => report(guest), (r) => r.phase === 2, 10000);
    const noDialog = await guest.$eval('#new-game', (d) => !d.open);
    check(playing && noDialog && !(await guest.evaluate(() => location.hash)),
          'the #join= link opens the page straight into the game');
    await waitFor(() => report(hostPage), (r) => r.phase === 2, 5000);
    // The Emperor steers and fires, the Rebel flies.
    await hostPage.mouse.move(500, 300);
    await hostPage.mouse.click(520, 320);
    await guest.focus('#screen');
    await guest.keyboard.press('ArrowUp');
    await guest.keyboard.press('Space');
    await sleep(800);
    const status = await hostPage.$eval('#net-status', (s) => (s.hidden ? '' : s.textContent));
    const names = 'Eva (imperator) proti Jan \u010cern\u00fd (povstalec)';
    await waitFor(() => guest.title(), (t) => t.endsWith(names), 3000);
    check(/^ping \d+ ms, zpozdeni \d+, navraty \d+\/s, ztraceno \d+/.test(status) &&
          await hostPage.title() === `Quarnex 2.00 - sitova hra za imperatora - ${names}` &&
          await guest.title() === `Quarnex 2.00 - sitova hra za povstalce - ${names}`,
          `the status line and the titles (${status}; ${await hostPage.title()}; ${await guest.title()})`);
    await shot(hostPage, 'netplay-2-playing.png');

    // Hidden: the browser runs its timers about once a second.
    await guest.evaluate(() => {
      window.probe = 0;
      setInterval(() => { window.probe++; }, 30);
    });
    const cover = await throttled.newPage();
    await cover.bringToFront();
    await sleep(300);
    const before = { host: (await report(hostPage)).figures.confirmed, guest: await report(guest),
                     probe: await guest.evaluate(() => window.probe),
                     state: await guest.evaluate(() => document.visibilityState) };
    await sleep(3000);
    const after = { host: (await report(hostPage)).figures.confirmed, guest: await report(guest),
                    probe: await guest.evaluate(() => window.probe) };
    const probeRate = (after.probe - before.probe) / 3;
    const rate = (after.host - before.host) / 3;
    check(before.state === 'hidden' && probeRate < 5,
          `the joiner's tab is hidden and throttled (a 30 ms timer ran ${probeRate.toFixed(1)} times a second)`);
    check(rate >= 25, `the game goes on at ${rate.toFixed(1)} confirmed ticks a second while the other tab is hidden (${JSON.stringify([before.guest, after.guest])})`);
    await guest.bringToFront();

    // A spectator halfway through.
    await waitFor(() => report(hostPage), (r) => r.figures?.confirmed >= 250, 15000);
    const spectator = await browser.newPage();
    // On a phone held sideways.
    await spectator.setViewport({ width: 844, height: 390, isMobile: true, hasTouch: true });
    await spectator.evaluateOnNewDocument(() => {
      Object.defineProperty(navigator, 'languages', { get: () => ['cs-CZ'] });
    });
    await spectator.goto(`${url}#watch=${code}`);
    const watching = await waitFor(() => report(spectator), (r) => r.phase === 3, 10000);
    check(Boolean(watching), `the #watch= link shows the game being played (${JSON.stringify(await report(spectator))})`);
    await sleep(1500);
    check(await spectator.title() === `Quarnex 2.00 - divam se na hru ${code} - ${names}`,
          `the spectator's title names both players (${await spectator.title()})`);
    await shot(spectator, 'netplay-3-spectator.png');

    const ends = await Promise.all([hostPage, guest].map((p) => waitFor(() => last(p), Boolean, 30000)));
    check(ends.every((e) => e?.peerEnd === 1 && e.tick === TICKS) &&
          ends[0].checksum === ends[1].checksum,
          `both pages played the ${TICKS} ticks to the same state (${ends.map((e) => e?.checksum)})`);
    const watched = await waitFor(() => last(spectator), Boolean, 30000);
    check(watched?.outcome === 4 && watched.checksum === ends[0]?.checksum &&
          await message(spectator) === `Hra skoncila, prenos ze serveru je u konce.\n${names}`,
          `the late spectator saw the same game to its end (${JSON.stringify(watched)}, ${await message(spectator)})`);
    check(await message(hostPage) === null && await hostPage.$eval('#net-status', (s) => s.hidden),
          'a game played to its end closes without a message; the status line goes');
    await spectator.close();
    await hostPage.close();
  } finally {
    await throttled.close();
  }
}

// The page creates, the native simulator joins over ENet with its own
// inputs: both confirm the same game, so their replays are the same file.
async function pageAgainstSimulator(browser, url) {
  if (!simPath || !fs.existsSync(simPath)) {
    console.log('skip the page against the simulator: no quarnex-sim given');
    return;
  }
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quarnex-netplay-'));
  const ticks = 300;
  const script = path.join(work, 'rebel.txt');
  // Up, Space, Left, X, Down by their virtual-key codes.
  fs.writeFileSync(script, [20, 60, 100, 140, 200].map((t, i) =>
    `${t} key ${[38, 32, 37, 88, 40][i]}`).join('\n') + '\n');
  const page = await openGame(browser, url);
  await startPlaying(page);
  await page.evaluate((n) => window.quarnex.net.start({ kind: 'create', ticks: n }), ticks);
  const code = (await waitFor(() => report(page), (r) => r.phase === 1, 5000))?.code;
  const record = path.join(work, 'sim.qxr');
  const sim = spawn(simPath, ['--server', new URL(url).host, '--join', code, '--ticks', String(ticks),
    '--realtime', '--input', script, '--record', record], { stdio: ['ignore', 'ignore', 'pipe'] });
  let simErr = '';
  sim.stderr.on('data', (d) => { simErr += d; });
  const exit = new Promise((resolve) => sim.on('exit', resolve));
  await waitFor(() => report(page), (r) => r.phase === 2, 10000);
  await page.mouse.move(200, 150);
  await page.mouse.down();
  await page.mouse.up();
  const end = await waitFor(() => last(page), Boolean, 30000);
  const status = await Promise.race([exit, sleep(15000).then(() => 'still running')]);
  const replay = await page.evaluate(() => window.quarnex.net.lastReplay());
  const simReplay = fs.existsSync(record) ? fs.readFileSync(record, 'utf8') : '';
  check(end?.peerEnd === 1 && end.tick === ticks && status === 0 && replay.length > 100 &&
        replay === simReplay,
        `the page and the native simulator play the same ${ticks} ticks (page ${JSON.stringify(end)}, ` +
        `simulator exit ${status}${simErr ? `: ${simErr.trim()}` : ''}, replays ${replay === simReplay ? 'equal' : 'DIFFER'})`);
  fs.rmSync(work, { recursive: true });
  await page.close();
}

// The page creates a game with no length (as its dialog does), the
// simulator joins for a short one: "Nova" rests meanwhile, and the end the
// other side chose is said.
async function otherSidesLength(browser, url) {
  if (!simPath || !fs.existsSync(simPath)) return;
  const page = await openGame(browser, url, { language: 'en-US' });
  await startPlaying(page);
  await page.evaluate(() => window.quarnex.net.start({ kind: 'create' }));
  const code = (await waitFor(() => report(page), (r) => r.phase === 1, 5000))?.code;
  const sim = spawn(simPath, ['--server', new URL(url).host, '--join', code, '--ticks', '100',
    '--realtime'], { stdio: 'ignore' });
  await waitFor(() => report(page), (r) => r.phase === 2, 10000);
  const newDuring = await page.$eval('[data-command="new"]', (item) => item.disabled);
  const end = await waitFor(() => last(page), Boolean, 20000);
  const said = await waitFor(() => message(page), Boolean, 2000);
  const newAfter = await page.$eval('[data-command="new"]', (item) => item.disabled);
  check(end?.peerEnd === 1 && said === 'The network game has ended: the other player wanted to ' +
        'play only 100 ticks (3 s), and they have been played.',
        `a game ended by the other side's length says so ("${said}")`);
  check(newDuring && !newAfter, `"New" rests during the network game (${newDuring}, then ${newAfter})`);
  sim.kill();
  await page.close();
}

// Two pages in a quick match.
async function quickMatch(browser, url) {
  const pages = [];
  for (let i = 0; i < 2; i++) {
    const page = await openGame(browser, url);
    await startPlaying(page);
    await page.evaluate(() => window.quarnex.net.start({ kind: 'quick' }));
    pages.push(page);
  }
  const playing = await Promise.all(pages.map((p) => waitFor(() => report(p), (r) => r.phase === 2, 10000)));
  check(playing.every(Boolean), 'a quick match pairs the next two pages');
  return pages;
}

// A page frozen in the background (as mobile browsers freeze tabs) for
// longer than the silence limit says on waking that the game ended while it
// slept; a page left (pagehide) says goodbye, so the other learns it at once.
async function frozenAndLeftPages(browser, url) {
  const [sleeper, other] = await quickMatch(browser, url);
  const cdp = await sleeper.target().createCDPSession();
  await cdp.send('Page.setWebLifecycleState', { state: 'frozen' });
  await sleep(8000);
  await cdp.send('Page.setWebLifecycleState', { state: 'active' });
  const woke = await waitFor(() => message(sleeper), Boolean, 7000);
  const gaveUp = await message(other);
  check(woke === 'Sitova hra skoncila, zatimco stranka spala na pozadi.' &&
        gaveUp === 'Souper neodpovida. Sitova hra skoncila.',
        `a page frozen for 8 s says the game ended while it slept (${woke}; the other: ${gaveUp})`);
  await shot(sleeper, 'netplay-5-slept.png');
  await sleeper.close();
  await other.close();

  const [leaving, staying] = await quickMatch(browser, url);
  await leaving.goto('about:blank');
  const left = Date.now();
  const told = await waitFor(() => message(staying), Boolean, 4000);
  check(told === 'Souper ukoncil sitovou hru.',
        `a page left says goodbye: the other learns it in ${((Date.now() - left) / 1000).toFixed(1)} s (${told})`);
  await leaving.close();
  await staying.close();
}

// A quick match, then the server is killed: both pages say so within 5 s.
async function serverGoesAway(browser, server) {
  const pages = await quickMatch(browser, server.url);
  server.process.kill('SIGKILL');
  const killed = Date.now();
  const said = await Promise.all(pages.map((p) => waitFor(() => message(p), Boolean, 5000)));
  check(said.every((m) => m === 'Spojeni se serverem se preruslo. Sitova hra skoncila.'),
        `the server going away is said within ${((Date.now() - killed) / 1000).toFixed(1)} s (${said})`);
  await shot(pages[0], 'netplay-4-server-gone.png');
}

const server = await startServer();
const browser = await launchChromium(puppeteer);
try {
  await dialogAndInvite(browser, server.url);
  await twoPagesAndASpectator(browser, server.url);
  await pageAgainstSimulator(browser, server.url);
  await otherSidesLength(browser, server.url);
  await frozenAndLeftPages(browser, server.url);
  await serverGoesAway(browser, server);
} finally {
  await browser.close();
  server.process.kill('SIGKILL');
}
finish();
