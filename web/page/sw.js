// Offline: every file of the page is kept at install; a request goes to the network first
// (so a new build shows at once) and to the cache when the network is gone.
const CACHE = 'kestrin-v5';
const FILES = ['./', 'index.html', 'style.css', 'app.js', 'core.js', 'grid.js', 'sheet_layout.js', 'kept.js', 'boot.js',
  'planner.js', 'planner_workers.js', 'toolbar.js', 'worker.js', 'kestrin.js', 'kestrin.wasm', 'kestrin.svg',
  'manifest.webmanifest'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((key) => key !== CACHE).map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});
// Best Fleet shares memory between its two workers, which needs a cross-origin isolated page;
// a static host may not send the headers for it, so every answer gets them here.
function isolated(response) {
  if (!response || response.type === 'opaque') return response;
  const headers = new Headers(response.headers);
  headers.set('Cross-Origin-Opener-Policy', 'same-origin');
  headers.set('Cross-Origin-Embedder-Policy', 'require-corp');
  return new Response(response.body, { status: response.status, statusText: response.statusText, headers });
}
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(fetch(event.request)
    .then((response) => {
      if (response.ok) {
        const copy = response.clone();
        caches.open(CACHE).then((cache) => cache.put(event.request, copy));
      }
      return isolated(response);
    })
    .catch(() => caches.match(event.request, { ignoreSearch: true }).then(isolated)));
});
