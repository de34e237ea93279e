// SPDX-License-Identifier: MIT
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
    // The page from the network when there is one, so that a new build is seen at once; the
    // kept copy stays the one of this build's files, so that offline they always go together.
    try {
      return await fetch(request);
    } catch (e) {
      return (await caches.match('./', { cacheName: CACHE })) || Response.error();
    }
  }
  const kept = await caches.match(request.url, { ignoreVary: true });
  if (kept) return kept;
  const rel = url.pathname.slice(new URL(self.registration.scope).pathname.length);
  if (!FILES.includes(rel)) return fetch(request);
  // A file of this build not kept yet (a music track): fetched whole, even when the music
  // element asks for a part, so that it can be kept.
  const fresh = await fetch(request.url);
  if (fresh.status === 200) (await caches.open(CACHE)).put(request.url, fresh.clone());
  return fresh;
}

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(answer(request));
});
