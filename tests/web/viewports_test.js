// SPDX-License-Identifier: MIT
// The whole game shows on every screen, at the largest scale that fits: a Hard board's every
// tile, the time bar and the score, on a phone and on small and large desktop windows (the
// phones' tile sizes in every posture are phones_test.js's). On the phone every target is a
// finger's height, the hint's marks are wide; the play buttons and taps alone start a game, ask
// for a hint and remove the hinted pair; hint and shuffle go dark on the title after 结束游戏; a
// long press takes back a selection; Exit asks first. A tap that folds the menu bar or closes a
// menu does nothing else; paused, the status stays text a phone can read; About's links are a
// finger's height.
'use strict';
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';
const VIEWPORTS = [
  { width: 844, height: 390, touch: true, scale: 3, tile: { easy: [40, 30], hard: [28, 21] } },
  { width: 700, height: 500 },
  // With a mouse, the whole surface as before: 48.6 x 36 CSS px.
  { width: 1366, height: 768, tile: { easy: [48, 35.5], hard: [48, 35.5] } },
  { width: 1920, height: 1080 },
];
const rectOf = (e) => `(() => { const r = ${e}.getBoundingClientRect();
  return { left: r.left, top: r.top, right: r.right, bottom: r.bottom, width: r.width }; })()`;
const canvasRect = rectOf(`${T}.canvas()`);
// Every button, link, menu caption, entry and field in sight, by its height in CSS px.
const TARGETS = `[...document.querySelectorAll('button, a, [role^="menuitem"], input')]
  .map((e) => [e.dataset.item || e.className || e.id || e.textContent, e.getBoundingClientRect().height,
    getComputedStyle(e).visibility]).filter(([, h, v]) => h > 0 && v === 'visible')`;
// The hinted cells' centres and the page's marks, read in one turn.
const HINT_MARKS = `(() => { const hinted = ${T}.selectedMarks(); const c = ${T}.canvas().getBoundingClientRect();
  const marks = [...document.querySelectorAll('#board-marks:not([hidden]) .mark.raised')].map((m) => {
    const r = m.getBoundingClientRect();
    return { x: r.left + r.width / 2 - c.left, y: r.top + r.height / 2 - c.top, w: r.width, h: r.height,
      border: parseFloat(getComputedStyle(m).borderTopWidth) };
  });
  return hinted.length === 2 && marks.length === 2 && { hinted, marks }; })()`;

// What moved on the page while it loaded, up to the test's first look.
const SHIFTS = `window.shifts = []; new PerformanceObserver((l) => { for (const e of l.getEntries()) {
  window.shifts.push(e.sources.map((s) => (s.node && (s.node.id || s.node.nodeName)) || '?').join(' ') + ' ' + e.value); } })
  .observe({ type: 'layout-shift', buffered: true });`;

run(async (page, ctx) => {
  await page.send('Page.addScriptToEvaluateOnNewDocument', { source: SHIFTS });
  for (const v of VIEWPORTS) {
    const name = `${v.width}x${v.height}${v.touch ? ' touch' : ''}`;
    const press = async (selector) => {
      const [x, y] = await page.centreOf(selector);
      if (v.touch) await page.tap(x, y); else await page.click(x, y);
    };
    ctx.step = `${name}: the pointer the page sees`;
    await page.emulate(v);
    await ctx.open('?seed=7');
    check(await page.eval(`matchMedia('(pointer: coarse)').matches`) === !!v.touch,
      `(pointer: coarse) is not ${!!v.touch}`);
    check(await page.eval(`!!document.querySelector('#play-buttons:not([hidden])')`) === !!v.touch,
      'play buttons shown on the wrong pointer');
    const shifts = await page.eval('window.shifts');
    check(shifts.length === 0, `the page moved while it loaded: ${shifts.join(', ')}`);

    const targets = async (what) => {
      if (!v.touch) return;
      const small = (await page.eval(TARGETS)).filter(([, h]) => h < 44 - 0.01);
      check(small.length === 0, `targets under 44 CSS px ${what}: ${JSON.stringify(small)}`);
    };
    // The least tile in view, in CSS px, and whether every tile lies in the view and viewport.
    const tilesInView = async (what) => {
      // After the frame that fits the board to what the status band now holds.
      await page.eval('new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))');
      const r = await page.eval(canvasRect);
      const view = await page.eval(rectOf(`document.getElementById('view')`));
      check(view.left >= -0.5 && view.top >= -0.5 && view.right <= v.width + 0.5 && view.bottom <= v.height + 0.5,
        `the view lies at ${JSON.stringify(view)}, outside the viewport`);
      const tiles = await page.eval(`(() => {
        const out = [];
        const s = ${T}.canvas().getBoundingClientRect().width / ${T}.surfaceSize()[0];
        const [cols, rows] = [${T}.board().length, ${T}.board()[0].length];
        for (let c = 0; c < cols; c++) for (let row = 0; row < rows; row++) {
          const [x, y] = ${T}.tileCentre(c, row);
          out.push([x - 25 * s, y - 18.5 * s, x + 25 * s, y + 18.5 * s]);
        }
        return { out, s };
      })()`);
      const outside = tiles.out.filter(([l, t, rr, b]) => r.left + l < view.left - 0.5 || r.top + t < view.top - 0.5 ||
        r.left + rr > view.right + 0.5 || r.top + b > view.bottom + 0.5);
      check(outside.length === 0, `${outside.length} tiles outside the view`);
      const [w, h] = [50 * tiles.s, 37 * tiles.s];
      console.log(`${name}: ${what} tiles ${w.toFixed(1)} x ${h.toFixed(1)} CSS px, view ${view.width.toFixed(0)} px wide`);
      const least = v.tile && v.tile[what];
      if (least) check(w >= least[0] && h >= least[1], `${what} tiles ${w} x ${h}, under ${least}`);
      return r;
    };
    // In play, the menu is behind its button on a phone.
    const openMenu = async (caption) => {
      if (await page.eval(`!!document.querySelector('.menu-button:not([hidden])')`)) {
        await press('.menu-button');
        await page.waitFor(`document.getElementById('menubar').getBoundingClientRect().height > 0`, 'the menu bar unfolded');
      }
      await press(`[data-item="${caption}"] > .caption`);
      if (caption !== 'Exit1' && caption !== 'about') await page.waitFor(`document.querySelector('[data-item="${caption}"].open')`, `${caption} open`);
    };

    if (v.tile) {
      ctx.step = `${name}: an Easy board, its status and marks`;
      if (v.touch) await press('#play-buttons button[data-item="1"]'); else await page.key('F2', 113);
      await page.waitFor(`${T}.gameState() === 1 && ${T}.tileCount() === 160`, 'an Easy board of 160 tiles');
      await tilesInView('easy');
      await targets('in play');
      if (v.touch) {
        const fonts = await page.eval(`[...document.querySelectorAll('#board-status span:not(.time-bar):not(.left)')]
          .filter((e) => e.textContent).map((e) => [e.className, parseFloat(getComputedStyle(e).fontSize), e.getBoundingClientRect().height])`);
        check(fonts.length === 6 && fonts.every(([, f, h]) => f >= 14 && h > 0), `status texts: ${JSON.stringify(fonts)}`);
        check(await page.eval(`document.getElementById('status').textContent.startsWith(
          document.querySelector('#board-status .level').textContent + ' ' + document.querySelector('#board-status .rule').textContent)`),
          'the status text is not the level and rule the band shows');
        await press('#play-buttons button[data-item="13"]');
        const { hinted, marks } = await page.waitFor(HINT_MARKS, 'two hint marks over the board');
        for (const m of marks) {
          check(m.border >= 3, `hint marks ${m.border} CSS px wide`);
          check(hinted.some(([x, y]) => Math.abs(x - m.x) < 2 && Math.abs(y - m.y) < 2), `a mark beside the hinted cells: ${JSON.stringify({ hinted, marks })}`);
        }
        const r = await page.eval(canvasRect);
        for (const [x, y] of hinted) await page.tap(r.left + x, r.top + y);
        await page.waitFor(`${T}.tileCount() === 158`, 'the hinted pair gone by taps');

        ctx.step = `${name}: taps that fold the bar or close a menu do nothing else; the pause`;
        await page.waitFor(`!${T}.turnPending()`, 'the link line to end');
        const tile = await page.eval(`(() => { const b = ${T}.board();
          for (let c = 0; c < b.length; c++) for (let row = 0; row < b[c].length; row++)
            if (b[c][row] >= 0) return ${T}.tileCentre(c, row); })()`);
        const hintCaption = `document.querySelector('#play-buttons button[data-item="13"]').textContent`;
        const hintsBefore = await page.eval(hintCaption);
        await press('.menu-button');
        await page.waitFor(`document.body.classList.contains('menu-unfolded')`, 'the menu bar unfolded');
        await page.tap(r.left + tile[0], r.top + tile[1]);
        await page.waitFor(`!document.body.classList.contains('menu-unfolded')`, 'the bar folded by the tap');
        await openMenu('game1');
        await press('#play-buttons button[data-item="13"]');
        await page.waitFor(`!Pel.menuOpen() && !document.body.classList.contains('menu-unfolded')`, 'the menu closed by the tap');
        await page.eval('new Promise((r) => setTimeout(r, 300))');
        check(await page.eval(`${T}.selectedMarks().length`) === 0, 'the tap that folded the bar selected a tile');
        check(await page.eval(hintCaption) === hintsBefore, 'the tap that closed the menu asked for a hint');
        await press('#play-buttons button[data-item="2"]');
        await page.waitFor(`${T}.gameState() === 2`, 'the pause');
        const paused = await page.eval(`document.body.classList.contains('board-view') &&
          [...document.querySelectorAll('#board-status span:not(.time-bar):not(.left)')].filter((e) => e.textContent)
            .map((e) => [e.className, parseFloat(getComputedStyle(e).fontSize), e.getBoundingClientRect().height])`);
        check(paused && paused.length >= 5 && paused.every(([, f, h]) => f >= 14 && h > 0), `paused, the status: ${JSON.stringify(paused)}`);
        await targets('paused');
        await press('#play-buttons button[data-item="2"]');
        await page.waitFor(`${T}.gameState() === 1`, 'play again');

        ctx.step = `${name}: 结束游戏, then hint and shuffle dark on the title`;
        await openMenu('game1');
        await targets('with the game menu open');
        await page.waitFor(`!document.querySelector('[data-item="EndGame1"][aria-disabled]')`, '结束游戏 enabled');
        await press('[data-item="EndGame1"]');
        await page.waitFor(`${T}.gameState() === 0`, 'the title');
        const dark = await page.eval(`[13, 14].map((i) => document.querySelector('#play-buttons button[data-item="' + i + '"]'))
          .map((b) => [b.getAttribute('aria-disabled'), b.textContent])`);
        check(dark.every(([d, text]) => d === 'true' && !/\d/.test(text)), `hint and shuffle on the title: ${JSON.stringify(dark)}`);

        ctx.step = `${name}: About's links`;
        await openMenu('about');
        await page.waitFor(`document.querySelector('dialog#about[open]')`, 'About');
        check(await page.eval(`document.querySelectorAll('dialog#about a').length`) === 2, 'About has not two links');
        await targets('in About');
        await press('dialog#about button');
        await page.waitFor(`!${T}.dialogOpen()`, 'About closed');
      } else {
        await openMenu('game1');
        await page.waitFor(`!document.querySelector('[data-item="EndGame1"][aria-disabled]')`, '结束游戏 enabled');
        await press('[data-item="EndGame1"]');
        await page.waitFor(`${T}.gameState() === 0`, 'the title');
      }
      await targets('on the title');
    }

    ctx.step = `${name}: Hard chosen in the menu, a game started`;
    await openMenu('Level1');
    await press('[data-item="Level2"]');
    await press('[data-item="Hard1"]');
    if (v.width === 844) {
      await press('#surface'); // a tap on the title starts a game, as F2 does
    } else if (v.touch) {
      await press('#play-buttons button[data-item="1"]');
    } else {
      await page.key('F2', 113);
    }
    await page.waitFor(`${T}.gameState() === 1 && ${T}.tileCount() === 240`, 'a Hard board of 240 tiles');

    ctx.step = `${name}: every tile, the time bar and the score in view`;
    const r = await tilesInView('hard');
    const band = await page.eval(`${T}.surfaceSize()`);
    check(band[0] === 1024 && band[1] === 768, `the surface is ${band}, not 1024x768`);
    // Time bar, score and bonus line lie on the surface's top band, in view with the whole surface.
    if (!v.touch) {
      check(r.left >= 0 && r.top >= 0 && r.right <= v.width + 0.5 && r.bottom <= v.height + 0.5,
        `the surface lies at ${JSON.stringify(r)}, outside the viewport`);
      continue;
    }

    ctx.step = `${name}: hint button, then two taps remove the pair`;
    const score = await page.eval(`${T}.score()`);
    check(await page.eval(`document.querySelector('#play-buttons button[data-item="13"]').textContent`) === '提示 10',
      'the hint button does not say what is left');
    await press('#play-buttons button[data-item="13"]');
    const marks = await page.waitFor(`${T}.selectedMarks().length === 2 && ${T}.selectedMarks()`, 'two hinted tiles');
    await page.waitFor(`document.querySelector('#play-buttons button[data-item="13"]').textContent === '提示 9'`,
      'the hint button to count down');
    for (const [x, y] of marks) await page.tap(r.left + x, r.top + y);
    await page.waitFor(`${T}.tileCount() === 238`, 'the pair gone');
    check(await page.eval(`${T}.score()`) > score, 'the pair scored nothing');

    ctx.step = `${name}: a long press takes back the selection`;
    const [c0x, c0y] = await page.eval(`${T}.tileCentre(0, 0)`);
    const [x0, y0] = [r.left + c0x, r.top + c0y];
    await page.waitFor(`!${T}.turnPending()`, 'the link line to end');
    await page.tap(x0, y0);
    await page.waitFor(`${T}.selectedMarks().length === 1`, 'a selected tile');
    await page.touch('touchStart', x0 + 3, y0);
    await page.waitFor(`${T}.selectedMarks().length === 0`, 'the selection taken back', 3000);
    await page.touch('touchEnd', x0 + 3, y0);
    check(await page.eval(`${T}.selectedMarks().length`) === 0, 'the long press selected a tile when lifted');

    ctx.step = `${name}: Exit asks during a game; No plays on`;
    await openMenu('Exit1');
    await page.waitFor(`document.querySelector('dialog#yes-no[open]')`, 'the question');
    await targets('in the question');
    check(await page.eval(`document.querySelector('dialog#yes-no .body').textContent`) === '游戏还没结束，确定退出吗?',
      'not the exit question');
    await press('dialog#yes-no button.no');
    await page.waitFor(`!${T}.dialogOpen() && !${T}.turnPending()`, 'the question to close');
    check(!(await page.eval(`${T}.ended()`)) && (await page.eval(`${T}.gameState()`)) === 1, 'No ended the game');
  }
});
