// The page's service worker: the page's files come from its own store, so a
// repeat visit loads and plays without waiting for the network (and offline).
// The build fills in the list of files with their SHA-256 digests and a
// version made from that list, so a new build is a new sw.js: the browser
// fetches sw.js in the background on each visit, a new worker stores what
// changed and takes over, and the next visit shows the new page.
const PAGE_FILES = [];
const VERSION = 'unbuilt';
const STORE = `quarnex-page-${VERSION}`;

const scope = () => self.registration.scope;

async function digestOf(response) {
  const bytes = new Uint8Array(await crypto.subtle.digest('SHA-256', await response.arrayBuffer()));
  return `sha256-${btoa(String.fromCharCode(...bytes))}`;
}

// A file of the list: from an earlier version's store when its content is
// the same, else from the browser's cache (the page has just loaded it: no
// second download), else from the network; its digest is checked each way.
async function obtain(url, integrity) {
  const earlier = await caches.match(url);
  if (earlier && await digestOf(earlier.clone()) === integrity) return earlier;
  try {
    return await fetch(url, { integrity, cache: 'force-cache' });
  } catch {
    return fetch(url, { integrity, cache: 'no-cache' });
  }
}

// Stores every file of the list that the store lacks.
async function fill() {
  const store = await caches.open(STORE);
  await Promise.all(PAGE_FILES.map(async ([name, integrity]) => {
    const url = new URL(name, scope()).href;
    if (!await store.match(url)) await store.put(url, await obtain(url, integrity));
  }));
}

self.addEventListener('install', (event) => event.waitUntil(fill().then(() => self.skipWaiting())));

self.addEventListener('activate', (event) => event.waitUntil(
  caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('quarnex-page') && name !== STORE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim())));

// The page asks once it is controlled; the answer says the files are stored.
self.addEventListener('message', (event) => {
  const port = event.ports[0];
  event.waitUntil(fill().then(() => port?.postMessage('stored'),
    (error) => port?.postMessage(`failed: ${error}`)));
});

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET' || !request.url.startsWith(scope())) return;
  let url = request.url;
  if (request.mode === 'navigate') {
    // The page itself, whatever its query (an invite link); other addresses
    // (such as the server's own) go to the network.
    const path = new URL(request.url).pathname;
    const root = new URL(scope()).pathname;
    if (path !== root && path !== `${root}index.html`) return;
    url = scope();
  }
  event.respondWith(caches.open(STORE)
    .then((store) => store.match(url))
    .then((stored) => stored ?? fetch(request)));
});
