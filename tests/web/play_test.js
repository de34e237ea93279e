// SPDX-License-Identifier: MIT
// A player's first minute in the browser: the waving title, F2 deals the Easy board, F4 hints a
// pair and two clicks remove it for points with nothing in the console said as an error, and F5
// stays the game's key, not the reload.
'use strict';
const { run, check } = require('./harness.js');
const { sleep } = require('./browser.js');

const T = 'pelmoravanTest';

run(async (page, ctx) => {
  ctx.step = 'open the page';
  await ctx.open();
  check(await page.eval(`${T}.gameState()`) === 0, 'the page does not start on the title');

  ctx.step = 'the title waves';
  const first = await page.screenshot();
  let waved = false;
  for (const end = Date.now() + 5000; !waved && Date.now() < end; await sleep(50)) {
    waved = !(await page.screenshot()).equals(first);
  }
  check(waved, 'two screenshots of the title, 5 s apart at most, are the same');

  ctx.step = 'F2 deals the Easy board';
  await page.key('F2', 113);
  await page.waitFor(`${T}.gameState() === 1 && ${T}.tileCount() === 160`, '160 tiles on the board');

  ctx.step = 'F4 hints a pair';
  const score = await page.eval(`${T}.score()`);
  await page.key('F4', 115);
  const marks = await page.waitFor(`${T}.selectedMarks().length === 2 && ${T}.selectedMarks()`,
    'two hinted tiles');

  ctx.step = 'two clicks remove the pair';
  const origin = await page.eval(`(() => { const r = ${T}.canvas().getBoundingClientRect(); return [r.left, r.top]; })()`);
  for (const [x, y] of marks) {
    await page.click(origin[0] + x, origin[1] + y);
  }
  await page.waitFor(`${T}.tileCount() === 158`, 'the pair gone');
  const after = await page.eval(`${T}.score()`);
  check(after > score, `the score went from ${score} to ${after}`);
  check(page.consoleErrors.length === 0, `errors in the console: ${page.consoleErrors.join('\n')}`);

  ctx.step = 'F5 is the game\'s';
  // A key sent through the protocol never reaches the browser's own shortcuts, so what counts
  // is that the page cancels the key's default action.
  const cancelled = await page.eval(`(() => {
    const e = new KeyboardEvent('keydown', { key: 'F5', code: 'F5', keyCode: 116, bubbles: true, cancelable: true });
    (document.activeElement || document.body).dispatchEvent(e);
    document.dispatchEvent(new KeyboardEvent('keyup', { key: 'F5', code: 'F5', keyCode: 116, bubbles: true }));
    return e.defaultPrevented;
  })()`);
  check(cancelled, 'the page lets F5 through to the browser (it would reload the page)');
});
