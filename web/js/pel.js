// The page around the game: its namespace, the options read from the address, and how it starts
// and ends. The other files of web/js each add one part (the canvas, the catalog, the timer,
// sound, the menu bar, the dialogs, the input); tools/web/build.sh joins them into page.js in
// order. The rules are all in the program (pelmoravan.js / .wasm); these files only carry calls.
'use strict';

const Pel = (() => {
  const P = {};
  const query = new URLSearchParams(location.search);
  P.params = {
    lang: query.get('lang') || '',
    seed: (Number(query.get('seed')) >>> 0) || 0,
  };

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
    P.closeMenus();
    const english = language === 1;
    document.getElementById('ended-text').textContent =
      english ? 'The game has ended.' : '游戏已结束。';
    const again = document.getElementById('restart');
    again.textContent = english ? 'Start again' : '重新开始';
    again.onclick = () => location.reload();
    document.getElementById('menubar').hidden = true;
    P.front.hidden = true;
    document.getElementById('ended').hidden = false;
  };
  P.persistFailed = false;

  return P;
})();

var Module = {
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
};
