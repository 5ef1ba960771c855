// Keeps the whole app on the device: everything is cached on the first visit and served from
// the cache afterwards, so the page opens and computes with the network off. The build writes
// the file list and a stamp of their contents below; a new stamp replaces the old cache.
const STAMP = 'dev';
const FILES = [];

const CACHE = `kelmar-${STAMP}`;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches.keys()
      .then((keys) => Promise.all(keys.filter((k) => k.startsWith('kelmar-') && k !== CACHE).map((k) => caches.delete(k))))
      .then(() => self.clients.claim()),
  );
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    caches.open(CACHE).then(async (cache) => {
      const hit = await cache.match(request, { ignoreSearch: true });
      if (hit) return hit;
      const response = await fetch(request);
      // Anything the list missed is kept too, so no file of the app needs the network twice.
      if (response.ok) cache.put(request, response.clone());
      return response;
    }),
  );
});
