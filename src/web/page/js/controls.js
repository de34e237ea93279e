// SPDX-License-Identifier: MIT
// What the page adds around the canvas: the play buttons of a touch screen, the status as text,
// the names of the canvas and the buttons, and the note to turn an upright phone.
(() => {
  'use strict';
  const P = Pel;
  const body = document.body;
  const group = document.getElementById('play-buttons');
  const status = document.getElementById('status');
  const note = document.getElementById('turn-note');
  const coarse = window.matchMedia('(pointer: coarse)');
  const upright = window.matchMedia('(orientation: portrait)');

  // Tiles shorter than this, in CSS pixels, are hard to hit with a finger.
  const FINGER_PX = 28;
  // Until the program runs, the page's own copy of the note shows on an upright phone (page.css):
  // the whole surface on one always makes its tiles too small. In English it waits for the
  // program's words.
  function updateNote() {
    if (!P.running) {
      note.hidden = P.params.lang === 'en';
      return;
    }
    const cell = Module._pel_cell_height();
    note.hidden = !(coarse.matches && upright.matches && cell > 0 && cell * P.scale < FINGER_PX);
  }
  updateNote();

  // On a coarse pointer the commands of play are buttons beside the board.
  P.touchChanged = () => {
    body.classList.toggle('touch', coarse.matches);
    group.hidden = !coarse.matches;
    if (P.running) Module._pel_touch(coarse.matches ? 1 : 0);
    updateNote();
  };
  coarse.addEventListener('change', P.touchChanged);
  // The menu bar's captions take their finger size before the program fills the bar in.
  body.classList.toggle('touch', coarse.matches);
  upright.addEventListener('change', updateNote);
  P.onFit = updateNote;

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
      b.textContent = caption;
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
    // The page's own copy is left as it is when it says the same: a new text would be painted
    // as new.
    if (note.textContent !== P.texts.turnDevice) note.textContent = P.texts.turnDevice;
  };
})();
