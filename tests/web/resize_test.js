// SPDX-License-Identifier: MIT
// A window resized in the middle of a game fits the page again at once: the same game on the
// same surface, shown larger, whole, and clicked where it is shown.
'use strict';
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';
const rect = `(() => { const r = ${T}.canvas().getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; })()`;
const pitch = `${T}.tileCentre(1, 0)[0] - ${T}.tileCentre(0, 0)[0]`;

run(async (page, ctx) => {
  ctx.step = 'a game at 700x500';
  await page.emulate({ width: 700, height: 500 });
  await ctx.open();
  await page.key('F2', 113);
  await page.waitFor(`${T}.gameState() === 1 && ${T}.tileCount() === 160`, 'the deal');
  const small = await page.eval(pitch);
  const board = await page.eval(`JSON.stringify(${T}.board())`);

  ctx.step = 'the window grows to 1600x900';
  await page.emulate({ width: 1600, height: 900 });
  await page.waitFor(`${pitch} > ${small * 1.5}`, 'the board to grow');
  const [l, t, r, b] = await page.eval(rect);
  check(l >= 0 && t >= 0 && r <= 1600 && b <= 900 && b > 880, `the surface shows at ${[l, t, r, b]}`);
  check(await page.eval(`${T}.gameState()`) === 1 && (await page.eval(`JSON.stringify(${T}.board())`)) === board,
    'the game changed with the window');

  ctx.step = 'a click lands on the tile drawn under it';
  const [x, y] = await page.eval(`${T}.tileCentre(3, 4)`);
  await page.click(l + x, t + y);
  const marks = await page.waitFor(`${T}.selectedMarks().length === 1 && ${T}.selectedMarks()`, 'a selected tile');
  check(Math.abs(marks[0][0] - x) < 1 && Math.abs(marks[0][1] - y) < 1, `the click selected the tile at ${marks[0]}`);
});
