// The page around the game: the canvas the surface draws on, the frame timer's timeouts, the
// menu bar and dialogs the program drives, sound, and the page's events handed to the program.
// The rules are all in the program (pelmoravan.js / .wasm); this file only carries calls.
'use strict';

const Pel = (() => {
  const P = {};
  const query = new URLSearchParams(location.search);
  P.params = {
    lang: query.get('lang') || '',
    seed: (Number(query.get('seed')) >>> 0) || 0,
  };

  const front = document.getElementById('surface');
  const frontCtx = front.getContext('2d', { alpha: false });
  const back = document.createElement('canvas');
  let ctx = back.getContext('2d', { alpha: false });
  const area = document.getElementById('area');

  const css = (bgr) =>
    `rgb(${bgr & 255},${(bgr >> 8) & 255},${(bgr >> 16) & 255})`;
  const heap32 = () => Module.HEAP32;
  // Texts are drawn with the face the page carries; sizes are points at 96 dpi, as on the desktop.
  const fontFor = (points) => `${(points * 96) / 72}px "WenQuanYi Micro Hei", sans-serif`;

  P.area = () => ({ width: Math.max(1, area.clientWidth), height: Math.max(1, area.clientHeight) });

  // The canvas is scaled down to fit the viewport, never cropped; surface pixels stay as drawn.
  function fit() {
    const a = P.area();
    const scale = Math.min(1, a.width / front.width, a.height / front.height);
    front.style.width = `${front.width * scale}px`;
    front.style.height = `${front.height * scale}px`;
  }

  // --- the surface ---
  P.pictures = [];
  P.presented = false;
  P.surface = {
    resize(w, h) {
      back.width = w;
      back.height = h;
      front.width = w;
      front.height = h;
      ctx = back.getContext('2d', { alpha: false });
      ctx.imageSmoothingEnabled = false;
      ctx.fillStyle = '#000';
      ctx.fillRect(0, 0, w, h);
      frontCtx.imageSmoothingEnabled = false;
      fit();
    },
    fill(rgb) {
      // A device value: red in bits 16..23.
      ctx.fillStyle = `rgb(${(rgb >> 16) & 255},${(rgb >> 8) & 255},${rgb & 255})`;
      ctx.fillRect(0, 0, back.width, back.height);
    },
    fillRect(l, t, w, h, bgr) {
      ctx.fillStyle = css(bgr);
      ctx.fillRect(l, t, w, h);
    },
    image(id, sx, sy, sw, sh, dx, dy, dw, dh) {
      ctx.drawImage(P.pictures[id].source, sx, sy, sw, sh, dx, dy, dw, dh);
    },
    wave(id, sx, sy, sw, x, w, rows, count) {
      const source = P.pictures[id].source;
      const h = heap32();
      let p = rows >> 2;
      for (let i = 0; i < count; i++, p += 3) {
        ctx.drawImage(source, sx, sy + h[p + 1], sw, 1, x + h[p + 2], h[p], w, 1);
      }
    },
    text(x, y, text, points, ascent, fontBgr, boxW, boxH, brushBgr) {
      if (boxW > 0 && boxH > 0) {
        ctx.fillStyle = css(brushBgr);
        ctx.fillRect(x, y, boxW, boxH);
      }
      ctx.font = fontFor(points);
      ctx.textBaseline = 'alphabetic';
      ctx.fillStyle = css(fontBgr);
      ctx.fillText(text, x, y + ascent);
    },
    measure(text, points, out) {
      ctx.font = fontFor(points);
      const m = ctx.measureText(text);
      const ascent = Math.round(m.fontBoundingBoxAscent ?? (points * 96) / 72);
      const descent = Math.round(m.fontBoundingBoxDescent ?? (points * 96) / 72 / 4);
      const h = heap32();
      h[out >> 2] = Math.round(m.width);
      h[(out >> 2) + 1] = ascent;
      h[(out >> 2) + 2] = ascent + descent;
    },
    polyline(xy, count, bgr, width) {
      const h = heap32();
      const w = Math.max(1, width);
      // Odd widths centred on pixel centres cover whole pixels, as the desktop's hard pen does.
      const o = w % 2 === 1 ? 0.5 : 0;
      ctx.lineWidth = w;
      ctx.lineCap = 'square';
      ctx.lineJoin = 'miter';
      ctx.strokeStyle = css(bgr);
      ctx.beginPath();
      let p = xy >> 2;
      ctx.moveTo(h[p] + o, h[p + 1] + o);
      for (let i = 1; i < count; i++) {
        p += 2;
        ctx.lineTo(h[p] + o, h[p + 1] + o);
      }
      if (count > 1) ctx.stroke();
    },
    present() {
      frontCtx.drawImage(back, 0, 0);
      if (!P.presented) P.firstFrameAt = performance.now();
      P.presented = true;
    },
  };

  // --- loading the catalog: every picture decoded at once ---
  // The program's files (pelmoravan.data, unpacked before it starts) hold the pictures and waves.
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

  // Effects are decoded off-line in the background, so that the first frame does not wait for
  // them and the first click's sound is ready by then.
  function loadWaves(paths) {
    const Offline = window.OfflineAudioContext || window.webkitOfflineAudioContext;
    if (!Offline) return;
    const decoder = new Offline(1, 1, 44100);
    paths.forEach((path, i) => {
      Promise.resolve()
        .then(() => decoder.decodeAudioData(assetBytes(path).slice().buffer))
        .then((b) => { P.audio.buffers[i] = b; }, (e) => console.warn('pelmoravan: effect not loaded', e));
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
        await document.fonts.load(fontFor(8), '排名Pelmoravan');
      } catch (e) { /* drawn with the fallback face */ }
    }
    return '';
  };

  // --- the frame timer's timeout ---
  let timeout = 0;
  P.timer = {
    arm(ms) {
      clearTimeout(timeout);
      timeout = setTimeout(() => { timeout = 0; Module._pel_timer_wake(); }, ms);
    },
    disarm() {
      clearTimeout(timeout);
      timeout = 0;
    },
  };
  document.addEventListener('visibilitychange', () => {
    if (P.running) Module._pel_visibility(document.visibilityState !== 'hidden' ? 1 : 0);
  });

  // --- sound: effects through Web Audio, music through an audio element; both wait for the
  // player's first click or key, as browsers require ---
  P.audio = {
    buffers: [],
    context: null,
    track: null,
    music: new Audio(),
    unlock() {
      if (this.context || P.isEnded) return;
      const Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return;
      this.context = new Context();
      if (this.track) this.music.play().catch(() => {});
    },
    played: 0,
    playWave(id) {
      const buffer = this.buffers[id];
      if (!this.context || !buffer) return;
      this.played += 1;
      // A new source each time: copies of one effect overlap.
      const source = this.context.createBufferSource();
      source.buffer = buffer;
      source.connect(this.context.destination);
      source.start();
    },
    tracksStarted: 0,
    playMusic(name) {
      this.track = name;
      this.tracksStarted += 1;
      this.music.src = `music/${name}.ogg`;
      if (this.context) this.music.play().catch(() => {});
    },
    stopMusic() {
      this.track = null;
      this.music.pause();
      this.music.removeAttribute('src');
      this.music.load();
    },
    stopAll() {
      this.stopMusic();
      if (this.context) this.context.close();
    },
  };
  P.audio.music.addEventListener('ended', () => {
    if (P.audio.track) Module._pel_music_ended();
  });

  // --- the menu bar, built and relabelled by the program's menu model ---
  const bar = document.getElementById('menubar');
  const items = [];
  const openTops = () => bar.querySelectorAll('.open');
  function closeMenus() {
    openTops().forEach((e) => e.classList.remove('open'));
  }
  // Commands wait while the program waits for a turn of the event loop; the dialogs make the
  // page inert while they are open.
  function whenFree(run) {
    // Nothing reaches the program before it has loaded everything, nor after it has ended.
    if (!P.running) return;
    if (Module._pel_busy()) {
      setTimeout(() => whenFree(run), 10);
    } else {
      run();
    }
  }
  function openMenu(index) {
    whenFree(() => Module._pel_menu(index));
  }
  P.menu = {
    add(index, name, parent, shortcut, visible, checkMark, hasChildren) {
      const e = { index, name, parent, shortcut, checkMark, hasChildren };
      items[index] = e;
      if (parent < 0) {
        e.node = document.createElement('div');
        e.node.className = 'top';
        e.label = document.createElement('div');
        e.label.className = 'caption';
        e.node.append(e.label);
        bar.append(e.node);
      } else {
        e.node = document.createElement('div');
        e.node.className = 'entry';
        const check = document.createElement('span');
        check.className = 'check';
        e.check = check;
        e.label = document.createElement('span');
        e.label.className = 'label';
        const key = document.createElement('span');
        key.className = 'key';
        key.textContent = shortcut;
        e.node.append(check, e.label, key);
        if (hasChildren) e.node.classList.add('parent');
        items[parent].submenu.append(e.node);
      }
      e.node.dataset.item = name;
      e.node.hidden = !visible;
      if (hasChildren) {
        e.submenu = document.createElement('div');
        e.submenu.className = 'menu';
        e.node.append(e.submenu);
      }
      const target = parent < 0 ? e.label : e.node;
      if (parent < 0) {
        target.addEventListener('mousedown', (ev) => {
          ev.preventDefault();
          P.audio.unlock();
          const wasOpen = e.node.classList.contains('open');
          closeMenus();
          if (hasChildren && !wasOpen) {
            openMenu(index);
            e.node.classList.add('open');
          } else if (!hasChildren) {
            whenFree(() => Module._pel_menu(index));
          }
        });
        target.addEventListener('mouseenter', () => {
          // Moving along the bar with a menu open opens the neighbour, as menu bars do.
          if (bar.querySelector('.top.open') && !e.node.classList.contains('open')) {
            closeMenus();
            if (hasChildren) {
              openMenu(index);
              e.node.classList.add('open');
            }
          }
        });
      } else if (hasChildren) {
        e.node.addEventListener('mouseenter', () => {
          if (e.node.classList.contains('open')) return;
          e.node.parentElement.querySelectorAll(':scope > .entry.open').forEach((o) => o.classList.remove('open'));
          openMenu(index);
          e.node.classList.add('open');
        });
      } else {
        e.node.addEventListener('mouseenter', () => {
          e.node.parentElement.querySelectorAll(':scope > .entry.open').forEach((o) => o.classList.remove('open'));
        });
        e.node.addEventListener('click', (ev) => {
          ev.stopPropagation();
          if (e.node.classList.contains('disabled')) return;
          closeMenus();
          whenFree(() => Module._pel_menu(index));
        });
      }
    },
    update(index, caption, enabled, checked) {
      const e = items[index];
      if (!e) return;
      e.label.textContent = caption;
      e.node.classList.toggle('disabled', !enabled);
      if (e.check) e.check.textContent = e.checkMark && checked ? '\u2713' : '';
      e.enabled = enabled;
      e.checked = checked;
    },
    shortcutItem(key) {
      const e = items.find((i) => i && i.shortcut === key);
      return e ? e.index : -1;
    },
    state(name) {
      const e = items.find((i) => i && i.name === name);
      return e ? { caption: e.label.textContent, enabled: e.enabled !== false, checked: !!e.checked,
        visible: !e.node.hidden } : null;
    },
  };
  document.addEventListener('mousedown', (ev) => {
    if (!bar.contains(ev.target)) closeMenus();
  });

  // --- dialogs: each resolves when the player answers; the program waits meanwhile ---
  P.dialogOpen = () => !!document.querySelector('dialog[open]');
  function dialog(id, caption, build) {
    return new Promise((resolve) => {
      closeMenus();
      const d = document.createElement('dialog');
      d.id = id;
      const title = document.createElement('div');
      title.className = 'title';
      title.textContent = caption;
      const body = document.createElement('div');
      body.className = 'body';
      const buttons = document.createElement('div');
      buttons.className = 'buttons';
      d.append(title, body, buttons);
      let answer;
      const finish = (value) => {
        answer = value;
        d.close();
      };
      const cancelValue = build(body, buttons, finish, d);
      d.addEventListener('cancel', (ev) => {
        ev.preventDefault();
        finish(cancelValue);
      });
      d.addEventListener('close', () => {
        d.remove();
        resolve(answer);
      });
      document.body.append(d);
      d.showModal();
      const first = d.querySelector('[autofocus]') || d.querySelector('button');
      if (first) first.focus();
    });
  }
  function button(text, onClick, isDefault, className) {
    const b = document.createElement('button');
    if (className) b.className = className;
    b.type = 'button';
    b.textContent = text;
    if (isDefault) b.autofocus = true;
    b.addEventListener('click', onClick);
    return b;
  }
  P.dialogs = {
    yesNo(caption, text) {
      return dialog('yes-no', caption, (body, buttons, finish) => {
        body.textContent = text;
        buttons.append(button('Yes', () => finish(true), true, 'yes'), button('No', () => finish(false), false, 'no'));
        return false;
      });
    },
    inputName(caption, prompt, preset) {
      return dialog('name-prompt', caption, (body, buttons, finish) => {
        const label = document.createElement('label');
        label.textContent = prompt;
        const input = document.createElement('input');
        input.type = 'text';
        input.value = preset;
        input.autofocus = true;
        input.style.display = 'block';
        input.style.width = '260px';
        input.addEventListener('keydown', (ev) => {
          if (ev.key === 'Enter') finish(input.value);
        });
        body.append(label, input);
        buttons.append(button('OK', () => finish(input.value), false, 'ok'),
          button('Cancel', () => finish(null), false, 'cancel'));
        setTimeout(() => input.select(), 0);
        return null;
      });
    },
    scoreList(caption, headers, ok, rows) {
      return dialog('score-list', caption, (body, buttons, finish) => {
        const table = document.createElement('table');
        const head = table.createTHead().insertRow();
        const rowsBody = table.createTBody();
        headers.forEach((h) => {
          const th = document.createElement('th');
          th.textContent = h;
          head.append(th);
        });
        rows.split('\n').filter((r) => r !== '').forEach((r, i) => {
          const [name, score] = r.split('\t');
          const row = rowsBody.insertRow();
          [String(i + 1), name, score].forEach((t) => { row.insertCell().textContent = t; });
        });
        body.append(table);
        buttons.style.justifyContent = 'center';
        buttons.append(button(ok, () => finish(), true, 'ok'));
        return undefined;
      });
    },
    about(t) {
      const [caption, title, version, homeLabel, home, mailLabel, mail, howTo, close] = t;
      return dialog('about', caption, (body, buttons, finish) => {
        const line = (...nodes) => {
          const p = document.createElement('div');
          p.className = 'center';
          p.append(...nodes);
          body.append(p);
        };
        const bold = document.createElement('b');
        bold.textContent = title;
        line(bold);
        line(version);
        const link = (text, href) => {
          const a = document.createElement('a');
          a.textContent = text;
          a.href = href;
          a.target = '_blank';
          a.rel = 'noopener noreferrer';
          return a;
        };
        line(`${homeLabel} `, link(home, home));
        line(`${mailLabel} `, link(mail, `mailto:${mail}`));
        const pre = document.createElement('pre');
        pre.textContent = howTo;
        body.append(pre);
        buttons.append(button(close, () => finish(), true));
        return undefined;
      });
    },
    // F9's dialog: a file name is asked for and nothing is saved, as on the desktop.
    save() {
      return dialog('save', 'Save As', (body, buttons, finish) => {
        const label = document.createElement('label');
        label.textContent = 'File name: ';
        const input = document.createElement('input');
        input.type = 'text';
        input.autofocus = true;
        label.append(input);
        body.append(label);
        buttons.append(button('Save', () => finish()), button('Cancel', () => finish()));
        return undefined;
      });
    },
    message(caption, text) {
      return dialog('message', caption, (body, buttons, finish) => {
        body.textContent = text;
        buttons.append(button('OK', () => finish(), true));
        return undefined;
      });
    },
  };

  // --- the page's input ---
  front.addEventListener('mousedown', (ev) => {
    ev.preventDefault();
    P.audio.unlock();
    if (!P.running) return;
    const r = front.getBoundingClientRect();
    const x = Math.floor(((ev.clientX - r.left) * front.width) / r.width);
    const y = Math.floor(((ev.clientY - r.top) * front.height) / r.height);
    Module._pel_mouse(ev.button, x, y);
  });
  front.addEventListener('contextmenu', (ev) => ev.preventDefault());

  const gameKeys = { Escape: 0, F9: 1 };
  window.addEventListener('keydown', (ev) => {
    const fKey = /^F([2-5]|9)$/.test(ev.key);
    // The browser's own use of these keys (F5 reloads) never happens on this page.
    if (fKey) ev.preventDefault();
    if (P.dialogOpen() || !P.running) return;
    P.audio.unlock();
    if (ev.key in gameKeys) {
      ev.preventDefault();
      if (!ev.repeat) Module._pel_key(gameKeys[ev.key], 1);
      return;
    }
    if (!fKey || ev.ctrlKey || ev.altKey || ev.shiftKey || ev.metaKey) return;
    const item = P.menu.shortcutItem(ev.key);
    if (item >= 0) {
      closeMenus();
      whenFree(() => Module._pel_shortcut(item));
    }
  });
  window.addEventListener('keyup', (ev) => {
    if (P.running && ev.key in gameKeys) Module._pel_key(gameKeys[ev.key], 0);
  });
  window.addEventListener('blur', () => {
    if (P.running) Module._pel_keys_lost();
  });
  window.addEventListener('resize', () => {
    fit();
    if (P.running) {
      const a = P.area();
      Module._pel_resized(a.width, a.height);
    }
  });

  // --- start and end ---
  P.running = false;
  P.isEnded = false;
  P.started = () => {
    P.running = true;
  };
  P.failed = (text) => {
    const f = document.getElementById('failed');
    f.textContent = text;
    f.hidden = false;
  };
  P.ended = (language) => {
    P.running = false;
    P.isEnded = true;
    P.timer.disarm();
    P.audio.stopAll();
    closeMenus();
    const english = language === 1;
    document.getElementById('ended-text').textContent =
      english ? 'The game has ended.' : '游戏已结束。';
    const again = document.getElementById('restart');
    again.textContent = english ? 'Start again' : '重新开始';
    again.onclick = () => location.reload();
    bar.hidden = true;
    front.hidden = true;
    document.getElementById('ended').hidden = false;
  };
  P.persistFailed = false;

  // --- hooks for the page's tests ---
  P.yields = 0;
  P.onYield = null;
  P.yielding = () => {
    P.yields += 1;
    if (P.onYield) {
      const hook = P.onYield;
      P.onYield = null;
      // Runs once the program has suspended: while the turn it let through is under way.
      Promise.resolve().then(hook);
    }
  };
  function cssPoint(x, y) {
    const r = front.getBoundingClientRect();
    return [(x * r.width) / front.width, (y * r.height) / front.height];
  }
  window.pelmoravanTest = {
    ready: () => P.presented,
    persisted: () => !P.persisting,
    // Milliseconds from navigation to the first frame shown.
    firstFrameAt: () => P.firstFrameAt,
    canvas: () => front,
    // The off-screen surface, 1:1, as it stood at the last flip (the canvas shows it scaled).
    surfacePixels() {
      const c = front.getContext('2d');
      const d = c.getImageData(0, 0, front.width, front.height);
      let text = '';
      for (let i = 0; i < d.data.length; i += 0x8000) {
        text += String.fromCharCode.apply(null, d.data.subarray(i, i + 0x8000));
      }
      return { width: d.width, height: d.height, data: btoa(text) };
    },
    holdTimer: () => Module._pel_test_hold_timer(),
    startGame: () => Module._pel_shortcut(P.menu.shortcutItem('F2')),
    tick: (n) => Module._pel_test_tick(n),
    screenWidth: () => Module._pel_test_screen_width(),
    offerScore: (n) => Module._pel_test_offer_score(n),
    shuffleNow: () => Module._pel_test_shuffle(),
    // board()[col][row]: the picture there, -1 for none.
    board() {
      const columns = [];
      for (let c = 0; c < Module._pel_test_columns(); c++) {
        const rows = [];
        for (let r = 0; r < Module._pel_test_rows(); r++) rows.push(Module._pel_test_picture(c, r));
        columns.push(rows);
      }
      return columns;
    },
    running: () => P.running,
    ended: () => P.isEnded,
    gameState: () => Module._pel_game_state(),
    tileCount: () => Module._pel_tile_count(),
    score: () => Module._pel_score(),
    surfaceSize: () => [front.width, front.height],
    busy: () => !!Module._pel_busy(),
    dialogOpen: () => P.dialogOpen(),
    menuItem: (name) => P.menu.state(name),
    // What sounds: the audio context's state, effects started, the track asked for and whether
    // it is playing, and how many tracks were asked for so far.
    sound: () => ({
      context: P.audio.context ? P.audio.context.state : 'none',
      effects: P.audio.played,
      track: P.audio.track,
      playing: !P.audio.music.paused,
      tracks: P.audio.tracksStarted,
    }),
    // The music track ends now, as if it had played to its end.
    endTrack: () => P.audio.music.dispatchEvent(new Event('ended')),
    selectedMarks() {
      const out = Module._malloc(64);
      const n = Module._pel_marks(out, 8);
      const marks = [];
      for (let i = 0; i < n; i++) {
        marks.push(cssPoint(Module.HEAP32[(out >> 2) + 2 * i], Module.HEAP32[(out >> 2) + 2 * i + 1]));
      }
      Module._free(out);
      return marks;
    },
    tileCentre(col, row) {
      const out = Module._malloc(8);
      Module._pel_cell_centre(col, row, out);
      const p = cssPoint(Module.HEAP32[out >> 2], Module.HEAP32[(out >> 2) + 1]);
      Module._free(out);
      return p;
    },
    // How many times the program has let the event loop run from inside an operation, and a
    // function to run once, just after the next such turn has begun.
    yields: () => P.yields,
    onNextYield(fn) { P.onYield = fn; },
    // The surface point under a canvas CSS point, as the page hands clicks to the program.
    click(x, y, button = 0) {
      const r = front.getBoundingClientRect();
      front.dispatchEvent(new MouseEvent('mousedown', {
        bubbles: true, cancelable: true, button, clientX: r.left + x, clientY: r.top + y,
      }));
    },
  };
  return P;
})();

var Module = {
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
  onAbort: (what) => Pel.failed(`The program stopped: ${what}`),
};
