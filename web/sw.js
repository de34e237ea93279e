// Keeps one build's files, so that after one visit the game starts and plays with no network.
// The build writes BUILD and FILES in front of this file. Every file but the page itself is named by
// its content, so a page only ever asks for the files of its own build; a new build installs
// beside the old one and takes over once no page of the old one is open, and the old files go.
const CACHE = `pelmoravan-${BUILD}`;
// The music is kept once it has played, not fetched ahead: most visits play one track or none.
const AHEAD = ['./', ...FILES.filter((f) => !f.startsWith('music/'))];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(AHEAD)));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((keys) => Promise.all(
    keys.filter((k) => k.startsWith('pelmoravan-') && k !== CACHE).map((k) => caches.delete(k)))));
});

async function answer(request) {
  const url = new URL(request.url);
  if (request.mode === 'navigate') {
    // The page from the network when there is one, so that a new build is seen at once.
    try {
      const fresh = await fetch(request);
      if (fresh.ok) (await caches.open(CACHE)).put('./', fresh.clone());
      return fresh;
    } catch (e) {
      return (await caches.match('./', { cacheName: CACHE })) || Response.error();
    }
  }
  const kept = await caches.match(request, { ignoreVary: true });
  if (kept) return kept;
  const fresh = await fetch(request);
  // A whole track, fetched while this build is the one kept.
  const rel = url.pathname.slice(new URL(self.registration.scope).pathname.length);
  if (fresh.status === 200 && FILES.includes(rel)) {
    (await caches.open(CACHE)).put(request, fresh.clone());
  }
  return fresh;
}

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(answer(request));
});
