// The page's service worker: keeps the page playable offline after a visit.
// The page sends the list of what it loaded; every request is answered from
// the network while there is one (a rebuilt game shows at once) and from
// the stored copies when there is none.
const STORE = 'quarnex-page';

self.addEventListener('install', () => self.skipWaiting());
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('message', (event) => {
  const urls = [...new Set((event.data?.store ?? []).map((url) => new URL(url, self.registration.scope).href))]
    .filter((url) => url.startsWith(self.registration.scope));
  const port = event.ports[0];
  event.waitUntil(caches.open(STORE)
    .then((cache) => cache.addAll(urls))
    .then(() => port?.postMessage('stored'), (error) => port?.postMessage(`failed: ${error}`)));
});

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET' || !request.url.startsWith(self.registration.scope)) return;
  event.respondWith(fetch(request).then((response) => {
    if (response.ok && response.type === 'basic') {
      const copy = response.clone();
      caches.open(STORE).then((cache) => cache.put(request, copy));
    }
    return response;
  }, () => caches.match(request, { ignoreSearch: true }).then((stored) =>
    stored ?? (request.mode === 'navigate' ? caches.match(self.registration.scope) : undefined))
    .then((stored) => stored ?? Response.error())));
});
