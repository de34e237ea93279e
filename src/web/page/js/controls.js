// SPDX-License-Identifier: MIT
// What the page adds around the canvas: the play buttons of a touch screen, the status as text,
// the names of the canvas and the buttons; and what the program is told of the view.
(() => {
  'use strict';
  const P = Pel;
  const body = document.body;
  const group = document.getElementById('play-buttons');
  const status = document.getElementById('status');
  const coarse = window.matchMedia('(pointer: coarse)');

  // The program turns the board for a finger on a tall view, and sizes a tap's reach in CSS
  // pixels: it hears of the view once the present call into it has ended (a fit may run inside
  // one), and only when it changed.
  let told = '';
  let telling = false;
  function tellView() {
    if (telling || !P.running) return;
    telling = true;
    queueMicrotask(() => {
      telling = false;
      const tall = window.innerHeight > window.innerWidth ? 1 : 0;
      const cssPixel = 1 / (P.scale || 1);
      const now = `${tall} ${cssPixel}`;
      if (now === told || !P.running) return;
      told = now;
      Module._pel_view(tall, cssPixel);
      P.syncPage();
    });
  }

  // On a coarse pointer the commands of play are buttons beside the board.
  P.touchChanged = () => {
    body.classList.toggle('touch', coarse.matches);
    group.hidden = !coarse.matches;
    if (P.running) Module._pel_touch(coarse.matches ? 1 : 0);
    tellView();
  };
  coarse.addEventListener('change', P.touchChanged);
  // The menu bar's captions take their finger size before the program fills the bar in.
  body.classList.toggle('touch', coarse.matches);
  P.onFit = tellView;

  const buttons = [];
  P.controls = {
    // Slot 0..3: new game, pause/resume, hint, shuffle. A press runs the item as its shortcut
    // key does, so the program decides whether it acts; the look follows what it says.
    button(slot, item, caption, enabled) {
      let b = buttons[slot];
      if (!b) {
        b = document.createElement('button');
        b.type = 'button';
        b.className = 'play';
        b.addEventListener('click', () => {
          P.audio.unlock();
          P.closeMenus();
          P.whenFree(() => Module._pel_shortcut(b.item));
        });
        buttons[slot] = b;
        group.append(...buttons.filter((x) => x));
      }
      b.item = item;
      b.dataset.item = item;
      // The label and its count apart, so that a slim column can show the count under an icon.
      const m = /^(.*\S) (\d+)$/.exec(caption);
      const label = document.createElement('span');
      label.className = 'label';
      label.textContent = m ? m[1] : caption;
      b.replaceChildren(label);
      if (m) {
        const count = document.createElement('span');
        count.className = 'count';
        count.textContent = m[2];
        b.append(' ', count);
      }
      if (enabled) b.removeAttribute('aria-disabled');
      else b.setAttribute('aria-disabled', 'true');
    },
    // What the status band shows, there to be read; not live: T says it when asked.
    status(text) {
      status.textContent = text;
    },
  };

  P.onLanguage = () => {
    P.front.setAttribute('aria-label', P.texts.playArea);
    group.setAttribute('aria-label', P.texts.playCommands);
  };
})();
