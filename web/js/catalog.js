// The catalog's pictures, decoded by the page from the program's packed files, and its waves.
(() => {
  'use strict';
  const P = Pel;
  // --- loading the catalog: every picture decoded at once ---
  // The program's files (pelmoravan.data, unpacked before it starts) hold the pictures.
  const assetBytes = (path) => Module.FS.readFile(`/assets/${path}`);

  // A keyed picture is kept on a canvas of its own, whose pixels the program keys once.
  async function loadPicture(path, keyed) {
    const bitmap = await createImageBitmap(new Blob([assetBytes(path)], { type: 'image/bmp' }));
    if (!keyed) return { source: bitmap, width: bitmap.width, height: bitmap.height };
    const c = document.createElement('canvas');
    c.width = bitmap.width;
    c.height = bitmap.height;
    c.getContext('2d', { willReadFrequently: true }).drawImage(bitmap, 0, 0);
    return { source: c, width: c.width, height: c.height };
  }

  // A keyed picture's pixels (RGBA bytes) to and from the program.
  P.picturePixels = (id, ptr) => {
    const p = P.pictures[id];
    const data = p.source.getContext('2d', { willReadFrequently: true }).getImageData(0, 0, p.width, p.height).data;
    Module.HEAPU8.set(data, ptr);
  };
  P.setPicturePixels = (id, ptr) => {
    const p = P.pictures[id];
    const cc = p.source.getContext('2d', { willReadFrequently: true });
    const pixels = cc.createImageData(p.width, p.height);
    pixels.data.set(Module.HEAPU8.subarray(ptr, ptr + pixels.data.length));
    cc.putImageData(pixels, 0, 0);
  };

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
    const jobs = lines.filter(([kind]) => kind === 'picture').map(async ([, path, keyed]) => {
      try {
        return { item: await loadPicture(path, keyed === '1') };
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
