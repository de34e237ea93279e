// The catalog's pictures, decoded by the page from the program's packed files, and its waves.
(() => {
  'use strict';
  const P = Pel;
  // --- loading the catalog: every picture decoded at once ---
  // The program's files (pelmoravan.data, unpacked before it starts) hold the pictures.
  const assetBytes = (path) => Module.FS.readFile(`/assets/${path}`);

  async function loadPicture(path, key, keyed) {
    const bitmap = await createImageBitmap(new Blob([assetBytes(path)], { type: 'image/bmp' }));
    if (!keyed) return { source: bitmap, width: bitmap.width, height: bitmap.height };
    // The colour key (0x00BBGGRR, matched exactly) becomes transparency once, here.
    const c = document.createElement('canvas');
    c.width = bitmap.width;
    c.height = bitmap.height;
    const cc = c.getContext('2d', { willReadFrequently: true });
    cc.drawImage(bitmap, 0, 0);
    const pixels = cc.getImageData(0, 0, c.width, c.height);
    const d = pixels.data;
    const r = key & 255, g = (key >> 8) & 255, b = (key >> 16) & 255;
    for (let i = 0; i < d.length; i += 4) {
      if (d[i] === r && d[i + 1] === g && d[i + 2] === b) d[i + 3] = 0;
    }
    cc.putImageData(pixels, 0, 0);
    return { source: c, width: c.width, height: c.height };
  }

  // The title plays no effect: they are fetched once it shows, so that the first frame does not
  // wait for them, and decoded off-line in the background, ready by the first click of a game.
  function loadWaves(paths) {
    const Offline = window.OfflineAudioContext || window.webkitOfflineAudioContext;
    if (!Offline) return;
    P.titleShown.then(() => {
      const decoder = new Offline(1, 1, 44100);
      paths.forEach((path, i) => {
        fetch(P.fileUrl(path))
          .then((r) => {
            if (!r.ok) throw new Error(`${path} (${r.status})`);
            return r.arrayBuffer();
          })
          .then((bytes) => decoder.decodeAudioData(bytes))
          .then((b) => { P.audio.buffers[i] = b; }, (e) => console.warn('pelmoravan: effect not loaded', e));
      });
    });
  }

  P.loadCatalog = async (list) => {
    const lines = list.split('\n').filter((l) => l).map((l) => l.split(' '));
    loadWaves(lines.filter(([kind]) => kind === 'wave').map(([, path]) => path));
    const jobs = lines.filter(([kind]) => kind === 'picture').map(async ([, path, key, keyed]) => {
      try {
        return { item: await loadPicture(path, Number(key), keyed === '1') };
      } catch (e) {
        return { failed: path };
      }
    });
    const results = await Promise.all(jobs);
    for (const r of results) if (r.failed) return r.failed;
    P.pictures = results.map((r) => r.item);
    // The texts need the page's face before the first is measured.
    if (document.fonts) {
      try {
        await document.fonts.load(P.fontFor(8), '排名Pelmoravan');
      } catch (e) { /* drawn with the fallback face */ }
    }
    return '';
  };
})();
