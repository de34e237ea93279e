// SPDX-License-Identifier: MIT
// The board by keys and by ear: the canvas takes the board cursor's keys while it has the focus
// (the menu bar keeps its own arrow keys), and the program's words go to three live regions of
// the page's own: the board's (the cursor's cell and selections, polite; the outcome of a move,
// assertive) and the game's (pause, resume and the status asked for with T). The status band's
// own text is not live: it changes every ten seconds and would drown the board's words.
(() => {
  'use strict';
  const P = Pel;
  const front = P.front;
  // Reached by Tab; an application to a screen reader, which then hands it the keys, M and T too.
  front.tabIndex = 0;
  front.setAttribute('role', 'application');
  // The board's keys, as the canvas's description: read when the board gets the focus.
  const help = document.createElement('div');
  help.id = 'board-keys';
  help.hidden = true;
  document.body.append(help);
  front.setAttribute('aria-describedby', help.id);
  const onLanguage = P.onLanguage;
  P.onLanguage = () => {
    if (onLanguage) onLanguage();
    help.textContent = P.texts.boardKeys || '';
  };

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
  const game = region('game-words', 'polite');
  // What each region was given in the event being handled: a region's text is read once the
  // event is over, so news told together is shown together rather than the last alone.
  const pending = new Map();
  const KIND = { cell: 0, selection: 1, outcome: 2, paused: 3, resumed: 4, status: 5 };
  P.say = (text, kind, urgent) => {
    if (kind === KIND.paused) {
      // The words told so far are covered with the board.
      words.textContent = '';
      outcome.textContent = '';
      pending.delete(words);
      pending.delete(outcome);
    }
    const r = kind >= KIND.paused ? game : urgent ? outcome : words;
    if (!pending.has(r)) {
      pending.set(r, []);
      if (pending.size === 1) queueMicrotask(flush);
    }
    pending.get(r).push(text);
  };
  function flush() {
    for (const [r, texts] of pending) {
      const text = texts.join('. ');
      // The same words again are news again ("not linked" twice): a changed text is read out.
      r.textContent = r.textContent === text ? `${text}\u00a0` : text;
    }
    pending.clear();
  }

  // By the program's numbers for them.
  const keys = {
    ArrowLeft: 0, ArrowRight: 1, ArrowUp: 2, ArrowDown: 3, Home: 4, End: 5, ' ': 6, Enter: 6, Backspace: 7,
    m: 8, M: 8, t: 9, T: 9,
  };
  front.addEventListener('keydown', (ev) => {
    if (!(ev.key in keys) || ev.altKey || ev.metaKey || ev.shiftKey) return;
    const key = keys[ev.key];
    // The letters with Ctrl are the browser's.
    if (key >= 8 && ev.ctrlKey) return;
    // The page neither scrolls nor goes back.
    ev.preventDefault();
    if (P.dialogOpen()) return;
    P.audio.unlock();
    const ctrl = ev.ctrlKey ? 1 : 0;
    P.whenFree(() => {
      Module._pel_board_key(key, ctrl);
      P.syncPage();
    });
  });
  // A click gives the board the focus too (the press itself is kept from doing so by input.js).
  front.addEventListener('mousedown', () => front.focus({ preventScroll: true }));
})();
