// SPDX-License-Identifier: MIT
// A finger's play screen: while a board is in play on a coarse pointer, the page shows only the
// board's part of the surface, as large as fits beside the play buttons and the status, which
// the page shows as its own text; the selection and hint marks are drawn again over the board,
// wide enough to see; the menu bar folds into a button. Everything comes from the program.
(() => {
  'use strict';
  const P = Pel;
  const body = document.body;
  const coarse = window.matchMedia('(pointer: coarse)');
  const bar = document.getElementById('menubar');
  const group = document.getElementById('play-buttons');
  const status = document.getElementById('board-status');
  const view = P.view;

  let playing = false;
  let region = null;
  let active = false;
  P.shownRegion = () => (active ? region : null);

  // --- the status band as text ---
  const part = (row, name) => {
    const e = document.createElement('span');
    e.className = name;
    row.append(e);
    return e;
  };
  const rows = [document.createElement('div'), document.createElement('div')];
  for (const r of rows) r.className = 'row';
  const level = part(rows[0], 'level');
  const rule = part(rows[0], 'rule');
  const bonus = part(rows[0], 'bonus');
  const time = part(rows[1], 'time');
  const timeBar = part(rows[1], 'time-bar');
  const timeLeft = part(timeBar, 'left');
  const hints = part(rows[1], 'hints');
  const shuffles = part(rows[1], 'shuffles');
  const score = part(rows[1], 'score');
  status.append(...rows);

  // --- the marks over the board ---
  const marksLayer = document.createElement('div');
  marksLayer.id = 'board-marks';
  view.append(marksLayer);
  let marks = [];
  let cell = { w: 0, h: 0 };
  // Never thinner than a finger's eye can find; the surface's own are 3 surface pixels wide.
  const MARK_MIN_PX = 4;
  function placeMarks() {
    marksLayer.hidden = !active;
    if (!active) return;
    const s = P.scale;
    const width = Math.max(MARK_MIN_PX, Math.round(3 * s));
    while (marksLayer.children.length > marks.length) marksLayer.lastChild.remove();
    while (marksLayer.children.length < marks.length) marksLayer.append(document.createElement('div'));
    marks.forEach((m, i) => {
      const e = marksLayer.children[i];
      // The surface's bevel runs from 1.5 to 2.5 pixels inside the cell; this one lies on it.
      e.className = m.raised ? 'mark raised' : 'mark';
      e.style.left = `${(m.x + 1 - region.x) * s}px`;
      e.style.top = `${(m.y + 1 - region.y) * s}px`;
      e.style.width = `${(cell.w - 2) * s}px`;
      e.style.height = `${(cell.h - 2) * s}px`;
      e.style.borderWidth = `${width}px`;
    });
  }

  // --- the menu bar folded into a button while the board shows ---
  const menuButton = document.createElement('button');
  menuButton.type = 'button';
  menuButton.className = 'play menu-button';
  menuButton.setAttribute('aria-expanded', 'false');
  menuButton.hidden = true;
  const menuLabel = document.createElement('span');
  menuLabel.className = 'label';
  menuButton.append(menuLabel);
  group.prepend(menuButton);
  function unfold(open) {
    body.classList.toggle('menu-unfolded', open);
    menuButton.setAttribute('aria-expanded', String(open));
    if (!open) P.closeMenus();
  }
  menuButton.addEventListener('click', () => {
    P.audio.unlock();
    unfold(!body.classList.contains('menu-unfolded'));
  });
  // A touch anywhere else folds it again, and does nothing more (menu.js); so does an entry chosen
  // or a menu closed in the bar.
  P.menuButton = menuButton;
  P.barUnfolded = () => body.classList.contains('menu-unfolded');
  P.foldBar = () => unfold(false);
  bar.addEventListener('click', () => setTimeout(() => {
    if (body.classList.contains('menu-unfolded') && !P.menuOpen()) unfold(false);
  }, 0), true);

  // On a wide screen, whichever layout shows the board larger: a slim column of buttons beside
  // it, or the status and the buttons in a row under it. Upright, the status above and the
  // buttons under the turned board.
  const LAYOUTS = ['layout-side', 'layout-below'];
  function chooseLayout() {
    const wide = active && window.innerWidth >= window.innerHeight;
    let best = null;
    for (const name of wide ? LAYOUTS : []) {
      for (const l of LAYOUTS) body.classList.toggle(l, l === name);
      const a = P.area();
      const scale = Math.min(a.width / region.w, a.height / region.h);
      if (!best || scale > best.scale) best = { name, scale };
    }
    for (const l of LAYOUTS) body.classList.toggle(l, !!best && l === best.name);
  }

  function update() {
    const now = coarse.matches && playing && region !== null;
    if (now !== active) {
      active = now;
      body.classList.toggle('board-view', active);
      status.hidden = !active;
      menuButton.hidden = !active;
      if (!active) unfold(false);
    }
    chooseLayout();
    P.fit();
    placeMarks();
  }
  coarse.addEventListener('change', update);
  window.addEventListener('resize', () => { if (active) update(); });

  const priorFit = P.onFit;
  P.onFit = (s) => {
    if (priorFit) priorFit(s);
    placeMarks();
  };
  const priorLanguage = P.onLanguage;
  P.onLanguage = () => {
    if (priorLanguage) priorLanguage();
    menuLabel.textContent = P.texts.menu;
  };

  P.boardView = {
    region(isPlaying, paused, left, top, right, bottom) {
      playing = isPlaying;
      body.classList.toggle('paused', paused);
      region = isPlaying ? { x: left, y: top, w: right - left, h: bottom - top } : null;
      update();
    },
    status(s) {
      level.textContent = s.level;
      rule.textContent = s.rule;
      bonus.textContent = s.bonus;
      bonus.hidden = !s.bonus;
      time.textContent = s.time;
      timeLeft.style.width = `${(100 * s.bar) / s.barWidth}%`;
      hints.textContent = s.hints;
      shuffles.textContent = s.shuffles;
      score.textContent = s.score;
    },
    marks(list, cellWidth, cellHeight) {
      marks = list;
      cell = { w: cellWidth, h: cellHeight };
      placeMarks();
    },
  };
})();
