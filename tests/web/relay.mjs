// A TCP relay in front of a web server that counts what goes over the wire:
// the requests (method and path, in order) and the bytes the server sends,
// as a browser's network sees them (HTTP/1.1, headers included).
import net from 'node:net';

import { openGame } from './browser.mjs';

// Resolves to { url, requests, bytes(), mark(), since(mark), stop }.
export function countingRelay(port) {
  const requests = [];
  let bytes = 0;
  const sockets = new Set();
  const relay = net.createServer((client) => {
    const server = net.connect(port, '127.0.0.1');
    sockets.add(client).add(server);
    let head = '';
    client.on('data', (chunk) => {
      head += chunk.toString('latin1');
      // Requests without bodies (GET, HEAD): each ends with an empty line.
      for (let end = head.indexOf('\r\n\r\n'); end >= 0; end = head.indexOf('\r\n\r\n')) {
        const [method, path] = head.slice(0, head.indexOf(' ', head.indexOf(' ') + 1)).split(' ');
        requests.push({ method, path: path.split('?')[0] });
        head = head.slice(end + 4);
      }
      server.write(chunk);
    });
    server.on('data', (chunk) => {
      bytes += chunk.length;
      client.write(chunk);
    });
    const close = () => {
      client.destroy();
      server.destroy();
      sockets.delete(client);
      sockets.delete(server);
    };
    client.on('close', close).on('error', close);
    server.on('close', close).on('error', close);
  });
  return new Promise((resolve) => {
    relay.listen(0, '127.0.0.1', () => resolve({
      url: `http://127.0.0.1:${relay.address().port}/`,
      requests,
      bytes: () => bytes,
      mark: () => ({ requests: requests.length, bytes }),
      since: (mark) => ({ requests: requests.slice(mark.requests), bytes: bytes - mark.bytes }),
      stop: () => {
        for (const socket of sockets) socket.destroy();
        relay.close();
      },
    }));
  });
}

// Resolves once no request has passed for `quietMs` (at most `limitMs`).
export async function settled(relay, quietMs = 1500, limitMs = 30000) {
  const start = Date.now();
  let seen = -1;
  let since = Date.now();
  while (Date.now() - start < limitMs) {
    const now = relay.requests.length + relay.bytes();
    if (now !== seen) {
      seen = now;
      since = Date.now();
    } else if (Date.now() - since >= quietMs) {
      return;
    }
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

// A first visit (until the service worker has stored the page and the wire
// is quiet) and a repeat visit in a new tab (until its first frame is on
// screen and the wire is quiet) of the page behind `relay`, in a browser
// that has not seen it: what each sent over the wire.
export async function twoVisits(browser, relay) {
  const first = await openGame(browser, relay.url);
  const stored = await first.waitForFunction(() => window.quarnex.offlineReady, { timeout: 60000 })
    .then(() => true, () => false);
  await settled(relay);
  const firstVisit = { ...relay.since({ requests: 0, bytes: 0 }), stored };
  await first.close();

  const mark = relay.mark();
  const second = await openGame(browser, relay.url);
  await second.waitForFunction(() => window.quarnex?.firstFrameShownMs != null, { timeout: 30000 });
  await new Promise((resolve) => setTimeout(resolve, 500));
  await settled(relay);
  const repeatVisit = relay.since(mark);
  await second.close();
  return { firstVisit, repeatVisit };
}
