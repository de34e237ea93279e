// SPDX-License-Identifier: MIT
// The catalog's pictures, decoded by the page from its two packs of them (tools/web/pack_pictures.py),
// and its waves. The first title frame waits only for what it draws: the title's pack is fetched
// and decoded beside the program, before the program starts; the rest once the title shows.
(() => {
  'use strict';
  const P = Pel;
  const BMP = { type: 'image/bmp' };

  // The catalog's pictures are uncompressed 24-bit BMPs, read here into pixels: the browser's
  // decoder wants a Blob for each, and making a hundred of them cost more than the decoding.
  // Null for any other kind, which the browser decodes.
  function bmpPixels(b) {
    if (b.length < 54 || b[0] !== 0x42 || b[1] !== 0x4d) return null;
    const v = new DataView(b.buffer, b.byteOffset, b.byteLength);
    const width = v.getInt32(18, true);
    const rows = v.getInt32(22, true);
    const height = Math.abs(rows);
    const offset = v.getUint32(10, true);
    const stride = (width * 3 + 3) & ~3;
    if (v.getUint32(14, true) < 40 || v.getUint16(28, true) !== 24 || v.getUint32(30, true) !== 0 ||
        width <= 0 || height === 0 || offset + stride * height > b.length) return null;
    const image = new ImageData(width, height);
    const d = image.data;
    for (let y = 0, o = 0; y < height; y++) {
      // Bottom-up unless the height is negative.
      let s = offset + (rows > 0 ? height - 1 - y : y) * stride;
      for (let x = 0; x < width; x++, s += 3, o += 4) {
        d[o] = b[s + 2];
        d[o + 1] = b[s + 1];
        d[o + 2] = b[s];
        d[o + 3] = 255;
      }
    }
    return image;
  }
  const decode = (bytes, offset, length) => {
    const b = new Uint8Array(bytes, offset, length);
    return bmpPixels(b) || createImageBitmap(new Blob([b], BMP));
  };

  // Pictures are kept on canvases of their own; a keyed one's pixels the program keys once.
  function picture(image, keyed) {
    const read = image instanceof ImageData;
    if (!keyed && !read) return { source: image, width: image.width, height: image.height };
    const c = document.createElement('canvas');
    c.width = image.width;
    c.height = image.height;
    const cc = c.getContext('2d', { willReadFrequently: keyed });
    if (read) cc.putImageData(image, 0, 0);
    else cc.drawImage(image, 0, 0);
    return { source: c, width: c.width, height: c.height };
  }

  // A keyed picture's pixels (RGBA bytes) to and from the program.
  P.picturePixels = (id, ptr) => {
    const p = P.pictures[id];
    const data = p.source.getContext('2d', { willReadFrequently: true }).getImageData(0, 0, p.width, p.height).data;
    Module.HEAPU8.set(data, ptr);
  };
  // A picture the program makes of others: its number now, its pixels later.
  P.newPicture = (width, height) => {
    P.pictures.push({ source: null, width, height });
    return P.pictures.length - 1;
  };
  P.setPicturePixels = (id, ptr) => {
    const p = P.pictures[id];
    if (!p.source) {
      p.source = document.createElement('canvas');
      p.source.width = p.width;
      p.source.height = p.height;
    }
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
  }

  // Every picture's [pack, offset, length, width, height] by its path, from the title pack's
  // header; and the title's pictures, decoded.
  let index = {};
  const decoded = new Map();
  const TITLE_PACK = 'pictures-title.pack';
  const REST_PACK = 'pictures-rest.pack';

  // fetchPack(name) resolves to the pack's Response. Resolves once the title's pictures are
  // decoded; throws what failed.
  P.loadTitlePictures = async (fetchPack) => {
    const bytes = await (await fetchPack(TITLE_PACK)).arrayBuffer();
    let body;
    try {
      const length = new DataView(bytes).getUint32(0, true);
      index = JSON.parse(new TextDecoder().decode(new Uint8Array(bytes, 4, length))).pictures;
      body = 4 + length;
    } catch (e) {
      throw new Error(`${TITLE_PACK}: ${e.message}`);
    }
    await Promise.all(Object.entries(index).filter(([, e]) => e[0] === 0).map(async ([path, e]) => {
      decoded.set(path, await decode(bytes, body + e[1], e[2]));
    }));
  };

  // Until the rest is in, commands wait for it (P.whenFree), so that no game is dealt or drawn
  // with a picture missing; the bar shows the rest's bytes meanwhile.
  P.picturesDone = false;
  let picturesIn;
  P.picturesReady = new Promise((resolve) => { picturesIn = resolve; });
  let restLoaded = 0;
  P.picturesProgress = () => [restLoaded, Math.max(restLoaded, P.fileSize(REST_PACK))];

  // Lets the page's other work (the title's frames, a tap) run before going on.
  const channel = new MessageChannel();
  const turns = [];
  channel.port1.onmessage = () => turns.shift()();
  const nextTurn = () => new Promise((resolve) => {
    turns.push(resolve);
    channel.port2.postMessage(0);
  });

  async function loadRest(later) {
    const bytes = await (await P.fetchCounted(REST_PACK, (n) => { restLoaded += n; })).arrayBuffer();
    // Each is read and the program keys it, as it keyed the title's at load: a few milliseconds
    // of work at a time, so that a slow phone's title keeps waving and answering meanwhile.
    let slice = performance.now();
    for (const { id, path, keyed, at } of later) {
      if (performance.now() - slice > 8) {
        await nextTurn();
        slice = performance.now();
      }
      if (at[1] + at[2] > bytes.byteLength) throw new Error(`${REST_PACK}: ${path}`);
      P.pictures[id] = picture(await decode(bytes, at[1], at[2]), keyed);
      Module._pel_picture_decoded(id);
    }
    // The texts of play need the canvas's face before the first is measured; the title has none.
    if (document.fonts) {
      try {
        await document.fonts.load(P.fontFor(8), '排名Pelmoravan');
      } catch (e) { /* drawn with the fallback face */ }
    }
  }

  // The program's list of the catalog: one "picture path keyed" line each, numbered from 0 in
  // order, and "wave path" lines. Answers at once: "", or the path of a picture the packs do not
  // hold. The pictures not decoded yet have their size and no source until the rest comes.
  P.loadCatalog = (list) => {
    const lines = list.split('\n').filter((l) => l).map((l) => l.split(' '));
    const pictures = lines.filter(([kind]) => kind === 'picture');
    const later = [];
    for (const [id, [, path, keyedFlag]] of pictures.entries()) {
      const at = index[path];
      const keyed = keyedFlag === '1';
      if (!at || (at[0] === 0 && !decoded.has(path))) return path;
      if (at[0] === 0) {
        P.pictures[id] = picture(decoded.get(path), keyed);
      } else {
        P.pictures[id] = { source: null, width: at[3], height: at[4] };
        later.push({ id, path, keyed, at });
      }
    }
    const waves = lines.filter(([kind]) => kind === 'wave').map(([, path]) => path);
    P.titleShown.then(() => loadRest(later)).then(() => {
      P.picturesDone = true;
      picturesIn();
      loadWaves(waves);
    }, (e) => P.report(e));
    return '';
  };
})();
