// The catalog's pictures, decoded by the page from the program's packed files, and its waves.
(() => {
  'use strict';
  const P = Pel;
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

  // A picture's size from its file's header, before it is decoded.
  function bmpSize(path) {
    const bytes = assetBytes(path);
    const v = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    if (v.getUint32(14, true) === 12) return [v.getUint16(18, true), v.getUint16(20, true)];
    return [Math.abs(v.getInt32(18, true)), Math.abs(v.getInt32(22, true))];
  }

  // The title needs only the screens' pictures: those are decoded before the first frame, the
  // tiles and their backs once it shows. Until they are in, commands wait for them (P.whenFree),
  // so that no game is dealt or drawn with a picture missing.
  P.picturesDone = false;
  let picturesIn;
  P.picturesReady = new Promise((resolve) => { picturesIn = resolve; });
  const forTitle = (path) => path.startsWith('screens/');

  P.loadCatalog = async (list) => {
    const lines = list.split('\n').filter((l) => l).map((l) => l.split(' '));
    loadWaves(lines.filter(([kind]) => kind === 'wave').map(([, path]) => path));
    const pictures = lines.filter(([kind]) => kind === 'picture');
    const decode = async ([, path, keyed], id) => {
      P.pictures[id] = await loadPicture(path, keyed === '1');
    };
    const later = [];
    try {
      await Promise.all(pictures.map((line, id) => {
        const path = line[1];
        if (forTitle(path)) return decode(line, id).catch(() => { throw path; });
        let width, height;
        try {
          [width, height] = bmpSize(path);
        } catch (e) {
          throw path;
        }
        P.pictures[id] = { source: null, width, height };
        later.push([line, id]);
        return null;
      }));
    } catch (path) {
      return path;
    }
    const bytes = later.map(([line]) => assetBytes(line[1]).length);
    const total = bytes.reduce((a, b) => a + b, 0);
    let done = 0;
    P.picturesProgress = () => [done, total];
    P.titleShown.then(() => Promise.all(later.map(([line, id], i) => decode(line, id).then(() => {
      done += bytes[i];
      // The program keys it now, as it keyed the title's at load.
      Module._pel_picture_decoded(id);
    }, () => {
      throw line[1];
    })))).then(() => {
      P.picturesDone = true;
      picturesIn();
    }, (path) => P.fail(`无法载入图片 ${path}。请重新载入页面。`, `Could not load the picture ${path}. Reload the page.`));
    // The texts need the page's face before the first is measured.
    if (document.fonts) {
      try {
        await document.fonts.load(P.fontFor(8), '排名Pelmoravan');
      } catch (e) { /* drawn with the fallback face */ }
    }
    return '';
  };
})();
