// SPDX-License-Identifier: MIT
// The page around the game: its namespace, the options read from the address, and how it starts
// and ends. The other files of src/web/page/js each add one part (the canvas, the catalog, the timer,
// sound, the menu bar, the dialogs, the input); tools/web/build.sh joins them into page.js in
// order. The rules are all in the program (pelmoravan.js / .wasm); these files only carry calls.
'use strict';

const Pel = (() => {
  const P = {};
  const query = new URLSearchParams(location.search);
  P.params = {
    lang: query.get('lang') || '',
    // The browser's first language: the program starts in it when ?lang= names neither en nor zh.
    browserLanguage: (navigator.languages && navigator.languages[0]) || navigator.language || '',
    // ?seed=N (0 to 4294967295): the game's reseeds count from N instead of reading the clock,
    // so that the same N and the same moves give the same game. -1: the clock.
    seed: /^[0-9]{1,10}$/.test(query.get('seed') || '') && Number(query.get('seed')) <= 0xFFFFFFFF
      ? Number(query.get('seed')) : -1,
  };

  // --- start and end ---
  P.running = false;
  P.isEnded = false;
  P.started = () => {
    P.running = true;
    P.touchChanged();
    P.syncPage();
  };
  // The play buttons and the spoken status follow the game after each tick and command.
  P.syncPage = () => {
    if (P.running) Module._pel_sync_page();
  };
  // The program's next turn (the link line's next pass): one call of pel_turn, as soon as the
  // events pending now are handled. A message on a channel comes sooner than a timeout, which
  // the browser may hold back a few milliseconds.
  const turns = new MessageChannel();
  let turnAsked = false;
  turns.port1.onmessage = () => {
    turnAsked = false;
    if (P.isEnded) return;
    P.turn();
    P.syncPage();
  };
  P.turn = () => Module._pel_turn();
  P.requestTurn = () => {
    if (turnAsked) return;
    turnAsked = true;
    turns.port2.postMessage(0);
  };

  // The page's own texts come from the program's tables, in the game's language.
  P.texts = {};
  P.setLanguage = (language, lines) => {
    P.texts = {};
    for (const line of lines.split('\n')) {
      const at = line.indexOf('=');
      if (at > 0) P.texts[line.slice(0, at)] = line.slice(at + 1);
    }
    document.documentElement.lang = language === 1 ? 'en' : 'zh';
    if (P.onLanguage) P.onLanguage();
  };
  P.failed = (text) => {
    const f = document.getElementById('failed');
    f.textContent = text;
    f.hidden = false;
  };
  P.ended = () => {
    P.running = false;
    P.isEnded = true;
    P.timer.disarm();
    P.audio.stopAll();
    P.closeMenus();
    document.getElementById('ended-text').textContent = P.texts.ended;
    const again = document.getElementById('restart');
    again.textContent = P.texts.startAgain;
    again.onclick = () => location.reload();
    document.getElementById('menubar').hidden = true;
    document.getElementById('stage').hidden = true;
    document.getElementById('ended').hidden = false;
    again.focus();
  };
  P.persistFailed = false;

  return P;
})();

var Module = {
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
};
