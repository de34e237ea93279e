// The page's input handed to the program: clicks on the canvas, keys, focus and resizes.
(() => {
  'use strict';
  const P = Pel;
  const front = P.front;
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
      P.closeMenus();
      P.whenFree(() => Module._pel_shortcut(item));
    }
  });
  window.addEventListener('keyup', (ev) => {
    if (P.running && ev.key in gameKeys) Module._pel_key(gameKeys[ev.key], 0);
  });
  window.addEventListener('blur', () => {
    if (P.running) Module._pel_keys_lost();
  });
  window.addEventListener('resize', () => {
    P.fit();
    if (P.running) {
      const a = P.area();
      Module._pel_resized(a.width, a.height);
    }
  });
})();
