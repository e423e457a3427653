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

export function launchChromium(puppeteer, extraFlags = []) {
  return puppeteer.launch({
    executablePath: chromiumPath,
    headless: true,
    args: [...CHROMIUM_FLAGS, ...extraFlags],
  });
}
