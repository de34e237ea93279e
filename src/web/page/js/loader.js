// SPDX-License-Identifier: MIT
// Starting the program: its files fetched with a progress bar until the first title frame, what
// goes wrong said on the page in the game's language, and the service worker that keeps the
// build for the next visit without a network.
(() => {
  'use strict';
  const P = Pel;
  // The program chooses the game's language; until it runs, the loading bar and what fails say
  // the same choice: ?lang=, else the browser's first language, Chinese for zh or none.
  const browser = P.params.browserLanguage.toLowerCase();
  const english = P.params.lang === 'en' ||
    (P.params.lang !== 'zh' && browser !== '' && !/^zh(?:[-_.@]|$)/.test(browser));
  const say = (zh, en) => (english ? en : zh);
  // The build names files by their content and writes the map into index.html.
  const files = window.pelmoravanFiles || { names: {}, sizes: {} };
  P.fileUrl = (name) => files.names[name] || name;
  P.fileSize = (name) => files.sizes[name] || 0;

  let stopped = false;
  P.fail = (zh, en) => {
    P.loading(null);
    stopped = true;
    P.failed(say(zh, en));
  };
  Module.onAbort = (what) => P.fail(`游戏程序已停止：${what}`, `The program stopped: ${what}`);
  window.addEventListener('error', (ev) => {
    if (ev.error) P.fail(`页面出错：${ev.message}`, `The page failed: ${ev.message}`);
  });
  window.addEventListener('unhandledrejection', (ev) => {
    const what = (ev.reason && ev.reason.message) || String(ev.reason);
    P.fail(`页面出错：${what}`, `The page failed: ${what}`);
  });

  // --- the progress bar: bytes loaded of the total, until the title shows ---
  let bar = null;
  P.loading = (loaded, total) => {
    // Once something has failed, the files still arriving show nothing more.
    if (stopped && loaded !== null) return;
    if (loaded === null) {
      if (bar) bar.remove();
      bar = null;
      return;
    }
    if (!bar) {
      bar = document.createElement('div');
      bar.id = 'loading';
      bar.innerHTML = '<progress></progress><span></span>';
      bar.firstChild.setAttribute('aria-label', say('载入中', 'Loading'));
      document.body.append(bar);
    }
    const mb = (n) => (n / 1048576).toFixed(1);
    bar.firstChild.max = total;
    bar.firstChild.value = Math.min(loaded, total);
    bar.lastChild.textContent = `${say('载入中', 'Loading')} ${mb(loaded)} / ${mb(total)} MB`;
  };

  let titleShown;
  P.titleShown = new Promise((resolve) => { titleShown = resolve; });
  P.firstFrame = () => {
    P.loading(null);
    titleShown();
    // What benchmarks look for: the first title frame, without any test hook.
    performance.mark('pelmoravan-first-frame');
    for (const [rel, name] of [['manifest', 'manifest.webmanifest'], ['apple-touch-icon', 'icons/256.png']]) {
      const link = document.createElement('link');
      link.rel = rel;
      link.href = P.fileUrl(name);
      document.head.append(link);
    }
    // Kept for offline once the rest has come, so that the keeper's copies take nothing from it.
    P.picturesReady.then(keepForOffline);
  };

  // The service worker needs a secure context (http://localhost or https); elsewhere the page
  // plays without it.
  function keepForOffline() {
    if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
    navigator.serviceWorker.register('sw.js').catch((e) => console.warn('pelmoravan: not kept for offline play', e));
  }

  class LoadError extends Error {}
  // An error whose message is already in the game's language.
  class Said extends Error {}
  function report(e) {
    if (e instanceof LoadError) {
      P.fail(`无法载入 ${e.message}。请检查网络连接，然后重新载入页面。`,
        `Could not load ${e.message}. Check the connection, then reload the page.`);
    } else if (e instanceof Said) {
      P.fail(e.message, e.message);
    } else {
      P.fail(`页面出错：${e.message}`, `The page failed: ${e.message}`);
    }
  }
  // The file's bytes as they arrive, counted into `seen`.
  async function fetchCounted(name, seen) {
    if (stopped) throw new LoadError(name);
    let response;
    try {
      response = await fetch(P.fileUrl(name));
    } catch (e) {
      throw new LoadError(name);
    }
    if (!response.ok) throw new LoadError(`${name} (${response.status})`);
    const counted = new TransformStream({
      transform(chunk, out) {
        seen(chunk.byteLength);
        out.enqueue(chunk);
      },
    });
    return new Response(response.body.pipeThrough(counted), { headers: response.headers });
  }
  P.fetchCounted = fetchCounted;
  P.report = report;

  function start() {
    if (location.protocol === 'file:') {
      P.fail('此页面需要通过 http 打开，不能直接从磁盘打开。请在游戏的文件夹中运行：./play --web',
        'This page must be served over http, not opened from disk. In the game\'s folder, run: ./play --web');
      return;
    }
    // The first title frame needs the program, the title's pictures and the music's tracks, no more.
    const TRACKS = [1, 2, 3, 4, 5].map((n) => `tracks/SOUND${n}.mid`);
    const parts = ['pelmoravan.js', 'pelmoravan.wasm', 'pictures-title.pack', ...TRACKS];
    const total = parts.reduce((sum, name) => sum + P.fileSize(name), 0);
    let loaded = 0;
    const seen = (n) => {
      loaded += n;
      if (!P.presented) P.loading(loaded, Math.max(total, loaded));
    };
    P.loading(0, total);

    // The program compiles while it arrives and its script runs as soon as it is in; the title's
    // pictures decode meanwhile, and the program is started once they are, so that its start
    // waits for nothing.
    const compiled = fetchCounted(parts[1], seen).then((r) => WebAssembly.compileStreaming(
      new Response(r.body, { headers: { 'Content-Type': 'application/wasm' } })).catch((e) => {
      throw new Said(say(`此浏览器无法编译游戏程序：${e.message}`, `This browser cannot compile the game's program: ${e.message}`));
    }));
    const pictures = P.loadTitlePictures((name) => fetchCounted(name, seen));
    // The start writes one of them to the track file, so they are in before it; they are small
    // beside the program, and kept out of it so that its code is all it carries.
    let trackFiles = [];
    const tracks = Promise.all(TRACKS.map((name) => fetchCounted(name, seen)
      .then((r) => r.arrayBuffer()).then((bytes) => [name, new Uint8Array(bytes)])))
      .then((all) => { trackFiles = all; });
    // Before the program's main, once it is instantiated (which waits for the tracks too).
    Module.preRun = [() => {
      Module.FS.mkdir('/music');
      for (const [name, bytes] of trackFiles) Module.FS.writeFile(`/music/${name.slice(name.indexOf('/') + 1)}`, bytes);
    }];
    Module.locateFile = (path, prefix) => prefix + P.fileUrl(path);
    Module.instantiateWasm = (imports, receive) => {
      // A file that did not come is said by `report` below.
      Promise.all([compiled, pictures, tracks]).then(([module]) => WebAssembly.instantiate(module, imports).then((i) => receive(i, module),
        (e) => P.fail(`游戏程序无法启动：${e.message}`, `The game's program cannot start: ${e.message}`)), () => {});
      return {};
    };
    // The runtime's script by its address, not its text: the browser keeps its compiled code
    // for the next visit.
    const script = new Promise((resolve, reject) => {
      const s = document.createElement('script');
      s.src = P.fileUrl(parts[0]);
      s.onload = () => {
        seen(P.fileSize(parts[0]));
        resolve();
      };
      s.onerror = () => reject(new LoadError(parts[0]));
      document.body.append(s);
    });
    pictures.catch(report);
    tracks.catch(report);
    script.catch(report);
    compiled.catch(report);
  }
  start();
})();
