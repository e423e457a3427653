// Keeps the page playable offline: the service worker (sw.js) keeps a copy
// of every file it fetches, and on the first visit, which it did not see
// load, it is told what the page loaded. status.offlineReady turns true
// once the copies are there.
const ALSO_KEPT = ['manifest.webmanifest', 'icon-192.png', 'icon-512.png'];

export function keepOffline(status) {
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  navigator.serviceWorker.register('sw.js').then(() => navigator.serviceWorker.ready)
    .then((registration) => {
      if (navigator.serviceWorker.controller) {
        status.offlineReady = true;
        return;
      }
      const files = performance.getEntriesByType('resource').map((entry) => entry.name)
        .filter((url) => url.startsWith(location.origin));
      const channel = new MessageChannel();
      channel.port1.onmessage = (event) => { status.offlineReady = event.data === 'stored'; };
      registration.active?.postMessage({ store: [location.href.split('#')[0], ...files,
        ...ALSO_KEPT] }, [channel.port2]);
    })
    .catch((error) => console.warn('Quarnex works online only:', error));
}
