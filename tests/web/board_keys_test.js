// SPDX-License-Identifier: MIT
// The board by keys and by ear, in Chinese: Tab reaches the board, F4 says a pair's cells, the
// arrow keys walk the cursor there with every cell said, and Space takes each tile; the pair goes
// and the assertive region says so. Twice, with nothing but keys and the live regions.
'use strict';
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';
const KEYS = { Home: 36, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, ' ': 32 };
// A cell: its picture, then the column and row, or only the one a key moved along.
const CELL = /^(.+?) (\d+)(?: (\d+))?$/;
const HINT = /^提示：.+? (\d+) (\d+) 和 (\d+) (\d+)$/;

run(async (page, ctx) => {
  ctx.step = 'open the page';
  await ctx.open();
  const text = (id) => page.eval(`document.getElementById('${id}').textContent`);
  // Presses a key and waits for the region to say something new.
  const press = async (key, id) => {
    const before = await text(id);
    await page.key(key, KEYS[key]);
    return page.waitFor(`(() => { const t = document.getElementById('${id}').textContent; return t !== ${JSON.stringify(before)} && t; })()`,
      `words after ${key}`);
  };

  ctx.step = 'F2 deals, Tab reaches the board';
  await page.key('F2', 113);
  await page.waitFor(`${T}.gameState() === 1 && ${T}.tileCount() === 160`, '160 tiles on the board');
  for (let i = 0; i < 10 && !(await page.eval(`document.activeElement === ${T}.canvas()`)); i++) {
    await page.key('Tab', 9);
  }
  check(await page.eval(`document.activeElement === ${T}.canvas()`), 'Tab never reaches the board');

  let at = [0, 0];
  for (let pair = 0; pair < 2; pair++) {
    ctx.step = `pair ${pair + 1}: F4 says where`;
    const hint = await press('F4', 'board-outcome');
    const h = hint.match(HINT);
    check(h, `the hint said "${hint}"`);
    const targets = [[Number(h[1]), Number(h[2])], [Number(h[3]), Number(h[4])]];

    ctx.step = `pair ${pair + 1}: walk there and take both`;
    // Where the words put the cursor: one number is the column after Left, Right or Home, the
    // row after Up or Down.
    const heard = (said, key) => {
      const m = said.trim().match(CELL);
      check(m, `not a cell: "${said}"`);
      if (m[3] !== undefined) at = [Number(m[2]), Number(m[3])];
      else if (/Up|Down/.test(key)) at = [at[0], Number(m[2])];
      else at = [Number(m[2]), at[1]];
    };
    for (const [t, [col, row]] of targets.entries()) {
      heard(await press('Home', 'board-words'), 'Home');
      for (let steps = 0; steps < 40 && !(at[0] === col && at[1] === row); steps++) {
        const [c, r] = at;
        const key = c < col ? 'ArrowRight' : c > col ? 'ArrowLeft' : r < row ? 'ArrowDown' : 'ArrowUp';
        heard(await press(key, 'board-words'), key);
      }
      check(at[0] === col && at[1] === row, `the cursor did not reach column ${col}, row ${row}`);
      // The first is said selected; the second takes the pair, and that is an outcome.
      await press(' ', t === 0 ? 'board-words' : 'board-outcome');
    }
    const removed = await text('board-outcome');
    check(removed.startsWith('消除一对') && removed.includes(`还剩${158 - 2 * pair}张牌`), `after the pair: "${removed}"`);
    const board = await page.eval(`${T}.board()`);
    for (const [col, row] of targets) check(board[col - 1][row - 1] === -1, `column ${col}, row ${row} still holds a tile`);
  }
  check(page.consoleErrors.length === 0, `errors in the console: ${page.consoleErrors.join('\n')}`);
});
