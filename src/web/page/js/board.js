// SPDX-License-Identifier: MIT
// The board by keys and by ear: the canvas takes the board cursor's keys while it has the focus
// (the menu bar keeps its own arrow keys), and the program's words for the board go to two live
// regions of their own; the status band's region keeps only the status.
(() => {
  'use strict';
  const P = Pel;
  const front = P.front;
  // Reached by Tab; an application to a screen reader, which then hands it the keys.
  front.tabIndex = 0;
  front.setAttribute('role', 'application');
  function region(id, politeness) {
    const r = document.createElement('div');
    r.id = id;
    r.className = 'visually-hidden';
    r.setAttribute('aria-live', politeness);
    document.body.append(r);
    return r;
  }
  const words = region('board-words', 'polite');
  const outcome = region('board-outcome', 'assertive');
  P.say = (text, urgent) => {
    const r = urgent ? outcome : words;
    // The same words again are news again ("not linked" twice): a changed text is read out.
    r.textContent = r.textContent === text ? `${text}\u00a0` : text;
  };

  // By the program's numbers for them.
  const keys = {
    ArrowLeft: 0, ArrowRight: 1, ArrowUp: 2, ArrowDown: 3, Home: 4, End: 5, ' ': 6, Enter: 6, Backspace: 7,
  };
  front.addEventListener('keydown', (ev) => {
    if (!(ev.key in keys) || ev.altKey || ev.metaKey || ev.shiftKey) return;
    // The page neither scrolls nor goes back.
    ev.preventDefault();
    if (P.dialogOpen()) return;
    P.audio.unlock();
    const key = keys[ev.key];
    const ctrl = ev.ctrlKey ? 1 : 0;
    P.whenFree(() => {
      Module._pel_board_key(key, ctrl);
      P.syncPage();
    });
  });
  // A click gives the board the focus too (the press itself is kept from doing so by input.js).
  front.addEventListener('mousedown', () => front.focus({ preventScroll: true }));
})();
