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
      // What has loaded so far, and what the page names as its own files
      // (preloads and scripts), which on a slow machine may still be loading.
      const named = [...document.querySelectorAll('link[rel=preload], link[rel=modulepreload], script[src]')]
        .map((element) => new URL(element.getAttribute('href') ?? element.getAttribute('src'),
                                  location.href).href);
      const files = [...new Set([
        ...performance.getEntriesByType('resource').map((entry) => entry.name), ...named])]
        .filter((url) => url.startsWith(location.origin));
      const channel = new MessageChannel();
      channel.port1.onmessage = (event) => { status.offlineReady = event.data === 'stored'; };
      registration.active?.postMessage({ store: [location.href.split('#')[0], ...files,
        ...ALSO_KEPT] }, [channel.port2]);
    })
    .catch((error) => console.warn('Quarnex works online only:', error));
}
