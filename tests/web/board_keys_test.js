// SPDX-License-Identifier: MIT
// The board by keys and by ear, in Chinese: Tab reaches the board, F4 says a pair's cells, the
// arrow keys walk the cursor there with every cell said, and Space takes each tile; the pair goes
// and the assertive region says so. Twice, with nothing but keys and the live regions.
'use strict';
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';
const KEYS = { Home: 36, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, ' ': 32 };
const CELL = /第(\d+)列，?第(\d+)行/g;

run(async (page, ctx) => {
  ctx.step = 'open the page';
  await ctx.open();
  const text = (id) => page.eval(`document.getElementById('${id}').textContent`);
  const cells = (said) => [...said.matchAll(CELL)].map((m) => [Number(m[1]), Number(m[2])]);
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

  for (let pair = 0; pair < 2; pair++) {
    ctx.step = `pair ${pair + 1}: F4 says where`;
    const hint = await press('F4', 'board-outcome');
    const targets = cells(hint);
    check(hint.startsWith('提示：') && targets.length === 2, `the hint said "${hint}"`);

    ctx.step = `pair ${pair + 1}: walk there and take both`;
    for (const [t, [col, row]] of targets.entries()) {
      let said = await press('Home', 'board-words');
      for (let steps = 0; steps < 40; steps++) {
        const [[c, r]] = cells(said);
        if (c === col && r === row) break;
        said = await press(c < col ? 'ArrowRight' : c > col ? 'ArrowLeft' : r < row ? 'ArrowDown' : 'ArrowUp', 'board-words');
      }
      check(said.includes(`第${col}列，第${row}行`), `the cursor did not reach column ${col}, row ${row}: "${said}"`);
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
