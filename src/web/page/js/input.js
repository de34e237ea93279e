// SPDX-License-Identifier: MIT
// The page's input handed to the program: clicks and touches on the canvas, keys and focus.
(() => {
  'use strict';
  const P = Pel;
  const front = P.front;

  // A CSS point on the canvas in surface pixels, through the scale the canvas is shown at.
  function surfacePoint(clientX, clientY) {
    const r = front.getBoundingClientRect();
    return [Math.floor(((clientX - r.left) * P.back.width) / r.width),
      Math.floor(((clientY - r.top) * P.back.height) / r.height)];
  }
  function press(button, clientX, clientY) {
    P.audio.unlock();
    if (!P.running) return;
    // A tap on the title starts a game, which must not be dealt before its pictures are in: it
    // waits for them behind the progress bar, as a command does.
    if (!P.picturesDone) {
      P.whenFree(() => press(button, clientX, clientY));
      return;
    }
    const [x, y] = surfacePoint(clientX, clientY);
    Module._pel_mouse(button, x, y);
    P.syncPage();
  }

  // The mouse acts on the press, as on the desktop.
  front.addEventListener('mousedown', (ev) => {
    ev.preventDefault();
    press(ev.button, ev.clientX, ev.clientY);
  });
  front.addEventListener('contextmenu', (ev) => ev.preventDefault());

  // A finger taps on release; held still for half a second it takes back the selection, as the
  // right button does. Cancelling the press keeps the browser from scrolling, zooming, selecting
  // or sending mouse events of its own.
  const LONG_PRESS_MS = 500;
  const STILL_PX = 10;
  let touch = null;
  front.addEventListener('pointerdown', (ev) => {
    if (ev.pointerType === 'mouse') return;
    ev.preventDefault();
    if (!ev.isPrimary) return;
    const t = { id: ev.pointerId, x: ev.clientX, y: ev.clientY, still: true };
    t.timer = setTimeout(() => {
      if (touch !== t) return;
      touch = null;
      if (t.still) press(2, t.x, t.y);
    }, LONG_PRESS_MS);
    touch = t;
  });
  front.addEventListener('pointermove', (ev) => {
    if (touch && ev.pointerId === touch.id &&
        Math.hypot(ev.clientX - touch.x, ev.clientY - touch.y) > STILL_PX) touch.still = false;
  });
  front.addEventListener('pointerup', (ev) => {
    if (!touch || ev.pointerId !== touch.id) return;
    clearTimeout(touch.timer);
    const t = touch;
    touch = null;
    press(0, t.x, t.y);
  });
  front.addEventListener('pointercancel', () => {
    if (touch) clearTimeout(touch.timer);
    touch = null;
  });

  const gameKeys = { Escape: 0, F9: 1 };
  window.addEventListener('keydown', (ev) => {
    const fKey = /^F([2-5]|9)$/.test(ev.key);
    // The browser's own use of these keys (F5 reloads) never happens on this page.
    if (fKey) ev.preventDefault();
    if (P.dialogOpen() || !P.running) return;
    P.audio.unlock();
    // Esc with a menu open closes the menu, as menu bars do; only with none open does it end
    // the game.
    if (ev.key === 'Escape' && P.menuOpen()) {
      ev.preventDefault();
      P.closeMenus(true);
      return;
    }
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
})();
