// The match server as an operator exposes it, with real processes:
//   tls: https and wss with a certificate authority made here (openssl),
//        SIGHUP reloading the certificate (a bad file keeps the old one),
//        and, when the page is built, Chromium playing a game over https;
//   ops: timestamped log lines, /healthz, /metrics (loopback only, or on
//        its own port), 431, IPv6 beside IPv4, a trusted proxy's forwarded
//        addresses (limits and log), and --drain on SIGTERM.
//   node server-ops.mjs tls|ops QUARNEX_SERVER [WEB_DIR SCREENSHOT_DIR]
import { execFileSync, spawn } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import https from 'node:https';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(path.join(here, '../web/package.json'));
const [part, serverPath, webDir, shotDir] = process.argv.slice(2);
const failures = [];
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
};
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quarnex-ops-'));
process.on('exit', () => fs.rmSync(work, { recursive: true, force: true }));

// A server process; `log` collects its standard output.
function startServer(args) {
  const proc = spawn(serverPath, args, { stdio: ['ignore', 'pipe', 'inherit'] });
  process.on('exit', () => proc.kill('SIGKILL'));
  const server = { proc, log: '', exited: new Promise((r) => proc.on('exit', (code) => r(code))) };
  proc.stdout.on('data', (chunk) => { server.log += chunk; });
  server.waitLog = async (pattern, ms = 10000) => {
    for (const until = Date.now() + ms; Date.now() < until; await sleep(50)) {
      const match = pattern.exec(server.log);
      if (match) return match;
    }
    return null;
  };
  return server.waitLog(/listening on (\d+)/).then((m) => {
    if (!m) throw new Error(`the server did not start:\n${server.log}`);
    server.port = Number(m[1]);
    return server;
  });
}

function get(url, { headers = {}, ca, localAddress } = {}) {
  const lib = url.startsWith('https:') ? https : http;
  return new Promise((resolve) => {
    const request = lib.get(url, { headers, ca, localAddress, agent: false }, (res) => {
      let body = '';
      res.on('data', (c) => { body += c; });
      res.on('end', () => resolve({ status: res.statusCode, body,
        serial: res.socket.getPeerCertificate?.()?.serialNumber }));
    });
    request.on('error', (e) => resolve({ status: 0, body: String(e) }));
  });
}

// The match protocol's requests: 32 bytes, "QM", version 1, type, body.
function request(type, body = []) {
  const frame = Buffer.alloc(32);
  frame.write('QM', 0);
  frame[2] = 1;
  frame[3] = type;
  Buffer.from(body).copy(frame, 4);
  return frame;
}
const CREATE = () => request(1, [1, 0, 0, 0, 0, 0, 0xf4, 1, 0, 0]);  // Emperor, 500 ticks
const JOIN = (code) => request(2, Buffer.from(code));

// A WebSocket client that queues what it receives.
async function socket(url, options = {}) {
  const WebSocket = require('ws');
  const ws = new WebSocket(url, { ...options, perMessageDeflate: false });
  const frames = [];
  // (past the keep-alives the server sends on a quiet WebSocket)
  const keepAlive = Buffer.from([0x51, 0x4d, 1, 28]);
  ws.on('message', (data) => {
    if (!keepAlive.equals(Buffer.from(data))) frames.push(Buffer.from(data));
  });
  const opened = await new Promise((resolve) => {
    ws.on('open', () => resolve(true));
    ws.on('error', () => resolve(false));
    ws.on('unexpected-response', () => resolve(false));
  });
  ws.next = async (ms = 5000) => {
    for (const until = Date.now() + ms; Date.now() < until && !frames.length; await sleep(20));
    return frames.shift() ?? null;
  };
  return opened ? ws : null;
}
const typeOf = (frame) => frame?.[3];

// Creates a room on one socket and joins it from another; the code, or null.
async function createAndJoin(url, options = {}, joinOptions = options) {
  const host = await socket(url, options);
  host?.send(CREATE());
  const created = await host?.next();
  if (typeOf(created) !== 16) return null;
  const code = created.subarray(4, 12).toString();
  const guest = await socket(url, joinOptions);
  guest?.send(JOIN(code));
  const joined = await guest?.next();
  const peer = await host.next();
  return typeOf(joined) === 17 && typeOf(peer) === 19 ? { code, host, guest } : null;
}

function openssl(...args) {
  execFileSync('openssl', args, { cwd: work, stdio: ['ignore', 'ignore', 'pipe'] });
}

// A certificate authority and a server certificate for 127.0.0.1 signed by
// it (the same key in every certificate, so Chromium's pin holds).
function makeCertificates() {
  openssl('req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-keyout', 'ca.key', '-out', 'ca.pem',
          '-days', '2', '-subj', '/CN=Quarnex test CA');
  openssl('genpkey', '-algorithm', 'EC', '-pkeyopt', 'ec_paramgen_curve:P-256', '-out', 'server.key');
  fs.writeFileSync(path.join(work, 'ext.cnf'), 'subjectAltName=IP:127.0.0.1,DNS:localhost\n');
  for (const serial of ['0A01', '0A02']) {
    openssl('req', '-new', '-key', 'server.key', '-subj', '/CN=127.0.0.1', '-out', 'server.csr');
    openssl('x509', '-req', '-in', 'server.csr', '-CA', 'ca.pem', '-CAkey', 'ca.key', '-set_serial',
            `0x${serial}`, '-days', '2', '-extfile', 'ext.cnf', '-out', `server-${serial}.pem`);
  }
  fs.copyFileSync(path.join(work, 'server-0A01.pem'), path.join(work, 'server.pem'));
  const spki = crypto.createPublicKey(fs.readFileSync(path.join(work, 'server.key')))
    .export({ type: 'spki', format: 'der' });
  return { ca: fs.readFileSync(path.join(work, 'ca.pem')),
           spki: crypto.createHash('sha256').update(spki).digest('base64') };
}

async function tlsPart() {
  const { ca, spki } = makeCertificates();
  const args = ['--port', '0', '--bind', '127.0.0.1', '--max-per-address', '64',
                '--tls-cert', path.join(work, 'server.pem'), '--tls-key', path.join(work, 'server.key')];
  const page = webDir && fs.existsSync(path.join(webDir, 'index.html'));
  if (page) args.push('--web', webDir);
  const server = await startServer(args);
  const base = `https://127.0.0.1:${server.port}`;
  const health = await get(`${base}/healthz`, { ca });
  check(health.status === 200 && health.body === 'ok\n' && health.serial === '0A01',
        `https GET /healthz with the test CA (${health.status} ${health.serial})`);
  const metrics = await get(`${base}/metrics`, { ca });
  check(metrics.status === 200 && /quarnex_rooms /.test(metrics.body),
        `/metrics on the game port for a loopback client (${metrics.status})`);
  const plain = await get(`http://127.0.0.1:${server.port}/healthz`);
  check(plain.status !== 200, `plain http on the TLS port gets nothing (${plain.status})`);
  const game = await createAndJoin(`wss://127.0.0.1:${server.port}/ws`, { ca });
  check(game !== null, 'wss: a room created and joined, the host told');
  game?.host.close();
  game?.guest.close();

  // A renewal: the new certificate for new connections.
  fs.copyFileSync(path.join(work, 'server-0A02.pem'), path.join(work, 'server.pem'));
  server.proc.kill('SIGHUP');
  await server.waitLog(/certificate reloaded/);
  const renewed = await get(`${base}/healthz`, { ca });
  check(renewed.serial === '0A02', `SIGHUP: new connections get the new certificate (${renewed.serial})`);
  // A broken key: logged, the certificate in use stays.
  const key = fs.readFileSync(path.join(work, 'server.key'));
  fs.writeFileSync(path.join(work, 'server.key'), 'not a key\n');
  server.proc.kill('SIGHUP');
  const kept = await server.waitLog(/keeping the certificate in use: (.*)/);
  const still = await get(`${base}/healthz`, { ca });
  check(kept && still.status === 200 && still.serial === '0A02',
        `SIGHUP with a bad key keeps the old certificate (${kept?.[1]})`);
  fs.writeFileSync(path.join(work, 'server.key'), key);

  if (page) await chromiumPart(`${base}/`, spki, server);
  else console.log(`skipped the page over https: no page in ${webDir}`);
  server.proc.kill('SIGTERM');
  check(await server.exited === 0, 'SIGTERM: exit status 0');
}

// Two pages in Chromium play each other over https and wss.
async function chromiumPart(url, spki, server) {
  const { launchChromium, openGame, requireBrowser, startPlaying } = await import('../web/browser.mjs');
  const puppeteer = await requireBrowser(webDir);
  const browser = await launchChromium(puppeteer, [`--ignore-certificate-errors-spki-list=${spki}`]);
  try {
    const report = (p) => p.evaluate(() => window.quarnex?.net?.report() ?? { phase: -2 });
    const waitPhase = async (p, phase, ms) => {
      for (const until = Date.now() + ms; Date.now() < until; await sleep(100)) {
        const r = await report(p);
        if (r.phase === phase) return r;
      }
      return null;
    };
    const host = await openGame(browser, url);
    await startPlaying(host);
    const secure = await host.evaluate(async () => {
      const worker = await Promise.race([navigator.serviceWorker?.ready.then(() => true),
        new Promise((r) => setTimeout(() => r(false), 10000))]);
      return { secure: window.isSecureContext, worker };
    });
    check(secure.secure && secure.worker,
          `the https page is a secure context with its service worker (${JSON.stringify(secure)})`);
    await host.evaluate(() => window.quarnex.net.start({ kind: 'create', ticks: 300 }));
    const code = (await waitPhase(host, 1, 10000))?.code;
    const guest = await browser.newPage();
    await guest.goto(`${url}#join=${code}`);
    const playing = await waitPhase(guest, 2, 15000) && await waitPhase(host, 2, 10000);
    check(Boolean(code && playing), `two pages play over https (code ${code})`);
    const confirmed = await host.evaluate(() => window.quarnex.net.report());
    await sleep(1500);
    const later = await host.evaluate(() => window.quarnex.net.report());
    check(JSON.stringify(later) !== JSON.stringify(confirmed), 'the game goes on');
    check(/created, emperor by websocket 127\.0\.0\.1/.test(server.log) &&
          /joined, rebel by websocket 127\.0\.0\.1/.test(server.log),
          'the server saw both pages over its WebSocket');
    if (shotDir) {
      fs.mkdirSync(shotDir, { recursive: true });
      await host.screenshot({ path: path.join(shotDir, 'https-playing.png') });
    }
  } finally {
    await browser.close();
  }
}

function freePort() {
  return new Promise((resolve) => {
    const s = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = s.address();
      s.close(() => resolve(port));
    });
  });
}

function hasIpv6Loopback() {
  try {
    return fs.readFileSync('/proc/net/if_inet6', 'utf8').includes('00000000000000000000000000000001');
  } catch {
    return false;
  }
}

// A GET with headers over 8 KB, read as raw text (the answer's status line).
function oversizedHeaders(port) {
  return new Promise((resolve) => {
    const s = net.connect(port, '127.0.0.1', () => {
      s.write(`GET / HTTP/1.1\r\nHost: x\r\nX-Big: ${'a'.repeat(9000)}\r\n\r\n`);
    });
    let text = '';
    s.on('data', (c) => { text += c; });
    s.on('close', () => resolve(text.split('\r\n')[0]));
    s.on('error', () => resolve(text.split('\r\n')[0]));
  });
}

async function opsPart() {
  const help = execFileSync(serverPath, ['--help'], { encoding: 'utf8' });
  check(help.startsWith('usage: quarnex-server'), '--help prints the usage and exits 0');
  const metricsPort = await freePort();
  // No --bind: IPv6 and IPv4 together.
  const server = await startServer(['--port', '0', '--max-per-address', '2', '--trust-proxy',
    '127.0.0.1', '--metrics', `127.0.0.1:${metricsPort}`, '--drain', '60']);
  const port = server.port;
  const base = `http://127.0.0.1:${port}`;
  const lines = server.log.trim().split('\n');
  check(lines.every((l) => /^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z quarnex-server: /.test(l)),
        `log lines start with an RFC 3339 UTC time (${lines[0]})`);
  const health = await get(`${base}/healthz`);
  check(health.status === 200 && health.body === 'ok\n', `/healthz answers ok (${health.status})`);
  check((await get(`${base}/metrics`)).status === 404 &&
        /quarnex_rooms /.test((await get(`http://127.0.0.1:${metricsPort}/metrics`)).body),
        '--metrics: /metrics on its own port, not on the game port');
  const big = await oversizedHeaders(port);
  check(big === 'HTTP/1.1 431 Request Header Fields Too Large', `9 KB of headers: ${big}`);
  if (hasIpv6Loopback()) {
    const v6 = await get(`http://[::1]:${port}/healthz`);
    check(v6.status === 200, `the TCP side answers on IPv6 too (${v6.status})`);
  } else {
    console.log('skipped IPv6: no ::1 here');
  }

  // Through the trusted proxy (127.0.0.1) the forwarded client counts: two
  // connections each for two clients, a third for the first is refused.
  const ws = `ws://127.0.0.1:${port}/ws`;
  const as = (header, value) => ({ headers: { [header]: value } });
  const game = await createAndJoin(ws, as('X-Forwarded-For', '203.0.113.66, 198.51.100.7'),
                                   as('X-Forwarded-For', '2001:db8::7'));
  check(game && /created, emperor by websocket 198\.51\.100\.7\n/.test(server.log) &&
        /joined, rebel by websocket 2001:db8::7\n/.test(server.log),
        'the log names the clients the proxy forwarded (the last entry, the proxy\'s)');
  const second = await socket(ws, as('X-Forwarded-For', '198.51.100.7'));
  const third = await socket(ws, as('X-Forwarded-For', '198.51.100.7'));
  const other = await socket(ws, as('X-Forwarded-For', '198.51.100.8'));
  check(second && !third && other, 'the per-address limit counts the forwarded client');
  // Not from the proxy: the header is ignored.
  const spoof = await socket(ws, { ...as('X-Forwarded-For', '198.51.100.9'), localAddress: '127.0.0.2' });
  spoof?.send(CREATE());
  await spoof?.next();
  check(/created, emperor by websocket 127\.0\.0\.2\n/.test(server.log),
        'a forwarded header from elsewhere than the proxy is ignored');
  spoof?.close();
  second?.close();
  other?.close();

  // Drain: the running game goes on, no new rooms, /healthz 503; exit 0
  // once the game's players have left.
  await sleep(300);
  server.proc.kill('SIGTERM');
  const draining = await server.waitLog(/draining, (\d+) rooms/);
  const refused = await socket(ws);
  refused?.send(CREATE());
  const answer = await refused?.next();
  check(draining && typeOf(answer) === 23 && answer[4] === 5,
        `draining: a new room is refused as server-full (${draining?.[0]})`);
  check((await get(`${base}/healthz`)).status === 503, 'draining: /healthz answers 503');
  refused?.close();
  let finished = false;
  server.exited.then(() => { finished = true; });
  await sleep(500);
  check(!finished, 'the server waits for the running game');
  game?.host.close();
  game?.guest.close();
  const code = await Promise.race([server.exited, sleep(20000).then(() => 'still running')]);
  check(code === 0, `the game over, the server exits with 0 (${code})`);
}

try {
  if (part === 'tls') await tlsPart();
  else await opsPart();
} catch (e) {
  check(false, `unexpected: ${e.stack}`);
}
console.log(failures.length ? `${failures.length} check(s) failed` : 'all checks passed');
process.exit(failures.length ? 1 : 0);
