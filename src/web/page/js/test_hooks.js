// SPDX-License-Identifier: MIT
// Hooks for the page's tests, joined only into the test build of the page: they read the board
// and drive the ticks through the test program's own exports.
(() => {
  'use strict';
  const P = Pel;
  const front = P.front;
  // The turns the program asked for and had (the link line's passes); a test may hang a
  // function on the next one, to run just before it.
  P.turns = 0;
  P.beforeTurn = null;
  const requestTurn = P.requestTurn;
  P.requestTurn = () => {
    P.turnPending = true;
    requestTurn();
  };
  const turn = P.turn;
  P.turn = () => {
    P.turnPending = false;
    P.turns += 1;
    if (P.beforeTurn) {
      const hook = P.beforeTurn;
      P.beforeTurn = null;
      hook();
    }
    turn();
  };
  function cssPoint(x, y) {
    const r = front.getBoundingClientRect();
    return [(x * r.width) / P.back.width, (y * r.height) / P.back.height];
  }
  window.pelmoravanTest = {
    // The first frame is shown and every picture is in.
    ready: () => P.presented && P.picturesDone,
    persisted: () => !P.persisting,
    // Milliseconds from navigation to the first frame shown.
    firstFrameAt: () => P.firstFrameAt,
    canvas: () => front,
    // The off-screen surface, 1:1, as it stood at the last flip (the canvas shows it scaled).
    surfacePixels() {
      const c = P.back.getContext('2d');
      const d = c.getImageData(0, 0, P.back.width, P.back.height);
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
    lastPair: (c1, r1, c2, r2) => Module._pel_test_last_pair(c1, r1, c2, r2),
    reportError(text) {
      Module.stringToUTF8(text, Module._pel_test_text(), 512);
      Module._pel_test_report_error();
    },
    startAgain: () => Module._pel_test_start_again(),
    // The game waits on the player or its storage: a dialog, or the steps after one.
    waiting: () => !!Module._pel_test_waiting(),
    // The menu item by its name in the menu model, chosen as a click chooses it (a top item
    // of the bar acts on the press).
    menu(name) {
      const el = document.querySelector(`[data-item="${name}"]`);
      const top = el.querySelector(':scope > .caption');
      if (top) top.dispatchEvent(new MouseEvent('mousedown', { bubbles: true, cancelable: true }));
      else el.click();
    },
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
    gameState: () => Module._pel_test_game_state(),
    tileCount: () => Module._pel_test_tile_count(),
    score: () => Module._pel_test_score(),
    surfaceSize: () => [P.back.width, P.back.height],
    // A turn the program asked for has not come yet: a link line is being drawn.
    turnPending: () => !!P.turnPending,
    dialogOpen: () => P.dialogOpen(),
    menuItem: (name) => P.menu.state(name),
    // What sounds: the audio context's state and whether it ever ran, effects started, the track asked for and whether
    // it is playing, and how many tracks were asked for so far.
    sound: () => ({
      context: P.audio.context ? P.audio.context.state : 'none',
      ran: P.audio.ran,
      effects: P.audio.played,
      track: P.audio.track,
      playing: !P.audio.music.paused,
      tracks: P.audio.tracksStarted,
    }),
    // The music track ends now, as if it had played to its end.
    endTrack: () => P.audio.music.dispatchEvent(new Event('ended')),
    // The marks on show, selected tiles first, then hinted ones: CSS points of their centres.
    selectedMarks() {
      const marks = [];
      for (let i = 0; i < Module._pel_test_mark_count(); i++) {
        marks.push(cssPoint(Module._pel_test_mark_x(i), Module._pel_test_mark_y(i)));
      }
      return marks;
    },
    setLevel: (n) => Module._pel_test_level(n),
    // A pair that can be removed now, [c1, r1, c2, r2], or null.
    removablePair() {
      const p = Module._pel_test_pair();
      return p < 0 ? null : [p & 255, (p >> 8) & 255, (p >> 16) & 255, (p >> 24) & 255];
    },
    selected: (col, row) => Module._pel_test_selected(col, row) === 1,
    tileCentre: (col, row) => cssPoint(Module._pel_test_cell_centre_x(col, row), Module._pel_test_cell_centre_y(col, row)),
    // How many turns the program had, and a function to run once, just before the next.
    turns: () => P.turns,
    beforeNextTurn(fn) { P.beforeTurn = fn; },
    // The surface point under a canvas CSS point, as the page hands clicks to the program.
    click(x, y, button = 0) {
      const r = front.getBoundingClientRect();
      front.dispatchEvent(new MouseEvent('mousedown', {
        bubbles: true, cancelable: true, button, clientX: r.left + x, clientY: r.top + y,
      }));
    },
  };
})();
