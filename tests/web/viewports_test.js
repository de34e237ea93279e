// The whole game shows on every screen, at the largest scale that fits: a Hard board's every
// tile, the time bar and the score, on upright and turned phones and on small and large
// desktop windows. On the phones the play buttons and taps alone start a game, ask for a hint
// and remove the hinted pair; a long press takes back a selection; Exit asks first.
'use strict';
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';
const VIEWPORTS = [
  { width: 390, height: 844, touch: true, scale: 3 },
  { width: 844, height: 390, touch: true, scale: 3 },
  { width: 700, height: 500 },
  { width: 1366, height: 768 },
  { width: 1920, height: 1080 },
];
const canvasRect = `(() => { const r = ${T}.canvas().getBoundingClientRect();
  return { left: r.left, top: r.top, right: r.right, bottom: r.bottom, width: r.width }; })()`;

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

    ctx.step = `${name}: Hard chosen in the menu, a game started`;
    await press('[data-item="Level1"] > .caption');
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
    const r = await page.eval(canvasRect);
    check(r.left >= 0 && r.top >= 0 && r.right <= v.width + 0.5 && r.bottom <= v.height + 0.5,
      `the surface lies at ${JSON.stringify(r)}, outside the viewport`);
    // Time bar, score and bonus line all lie on the surface's top band, which the check above
    // keeps in view; the tiles are checked one by one, corners included.
    const tiles = await page.eval(`(() => {
      const out = [];
      const [w, h] = ${T}.surfaceSize();
      const s = ${T}.canvas().getBoundingClientRect().width / w;
      for (let c = 0; c < 16; c++) for (let row = 0; row < 15; row++) {
        const [x, y] = ${T}.tileCentre(c, row);
        out.push([x - 25 * s, y - 18.5 * s, x + 25 * s, y + 18.5 * s]);
      }
      return { out, s, h };
    })()`);
    const outside = tiles.out.filter(([l, t, rr, b]) => l < 0 || t < 0 || r.left + rr > v.width + 0.5 || r.top + b > v.height + 0.5);
    check(outside.length === 0, `${outside.length} tiles outside the viewport`);
    const band = await page.eval(`${T}.surfaceSize()`);
    check(band[0] === 1024 && band[1] === 768, `the surface is ${band}, not 1024x768`);
    console.log(`${name}: tiles ${(37 * tiles.s).toFixed(1)} CSS px tall, turn note ${
      await page.eval(`!document.getElementById('turn-note').hidden`) ? 'shown' : 'hidden'}`);
    if (!v.touch) continue;

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
    await page.waitFor(`!${T}.busy()`, 'the link line to end');
    await page.tap(x0, y0);
    await page.waitFor(`${T}.selectedMarks().length === 1`, 'a selected tile');
    await page.touch('touchStart', x0 + 3, y0);
    await page.waitFor(`${T}.selectedMarks().length === 0`, 'the selection taken back', 3000);
    await page.touch('touchEnd', x0 + 3, y0);
    check(await page.eval(`${T}.selectedMarks().length`) === 0, 'the long press selected a tile when lifted');

    ctx.step = `${name}: Exit asks during a game; No plays on`;
    await press('[data-item="Exit1"] > .caption');
    await page.waitFor(`document.querySelector('dialog#yes-no[open]')`, 'the question');
    check(await page.eval(`document.querySelector('dialog#yes-no .body').textContent`) === '游戏还没结束，确定退出吗?',
      'not the exit question');
    await press('dialog#yes-no button.no');
    await page.waitFor(`!${T}.dialogOpen() && !${T}.busy()`, 'the question to close');
    check(!(await page.eval(`${T}.ended()`)) && (await page.eval(`${T}.gameState()`)) === 1, 'No ended the game');
  }
});
