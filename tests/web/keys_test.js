// SPDX-License-Identifier: MIT
// The menu bar by keys alone: Tab reaches it, arrows walk it, Enter opens the score list, whose
// dialog takes the focus and gives it back. Esc closes an open menu and nothing else; with
// nothing open it ends the program.
'use strict';
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';
const focused = `(() => { const e = document.activeElement;
  return e ? (e.dataset.item || (e.parentElement && e.parentElement.dataset.item) || e.tagName) : null; })()`;

run(async (page, ctx) => {
  ctx.step = 'Tab reaches the menu bar';
  await ctx.open();
  check(await page.eval('document.documentElement.lang') === 'zh', 'the page is not marked Chinese');
  await page.key('Tab', 9);
  check(await page.eval(focused) === 'game1', `Tab focused ${await page.eval(focused)}`);

  ctx.step = 'arrows walk to the score list';
  await page.key('ArrowRight', 39);
  await page.key('ArrowRight', 39);
  await page.key('ArrowDown', 40);
  check(await page.eval(focused) === 'hint1', `Down opened the menu on ${await page.eval(focused)}`);
  check(await page.eval(`document.querySelector('[data-item="other1"] > .caption').getAttribute('aria-expanded')`) === 'true',
    'the open menu is not marked expanded');
  await page.key('ArrowUp', 38); // wraps to the last entry shown
  check(await page.eval(focused) === 'N2', `Up from the first entry reached ${await page.eval(focused)}`);

  ctx.step = 'Enter opens the list, Esc closes it and the focus comes back';
  await page.key('Enter', 13);
  await page.waitFor(`document.querySelector('dialog#score-list[open]') && document.activeElement.closest('dialog')`,
    'the score list with the focus');
  await page.key('Escape', 27);
  await page.waitFor(`!${T}.dialogOpen() && !${T}.turnPending()`, 'the list to close');
  check(await page.eval(focused) === 'other1', `the focus went to ${await page.eval(focused)}`);
  check(!(await page.eval(`${T}.ended()`)), 'Esc in the dialog ended the game');

  ctx.step = 'Esc in an open menu leaves the game running';
  await page.key('F2', 113);
  await page.waitFor(`${T}.gameState() === 1`, 'a game');
  await page.key('ArrowDown', 40);
  await page.waitFor(`document.querySelector('.top.open')`, 'the menu open');
  await page.key('Escape', 27);
  await page.eval(`${T}.tick(2)`); // the ticks that would read a leaked Esc
  check(!(await page.eval('document.querySelector(".top.open")')), 'Esc left the menu open');
  check(!(await page.eval(`${T}.ended()`)) && (await page.eval(`${T}.gameState()`)) === 1, 'Esc in the menu ended the game');

  ctx.step = 'Esc with nothing open ends the program';
  await page.key('Escape', 27);
  await page.waitFor(`${T}.ended()`, 'the end', 3000);
  check(await page.eval(`document.getElementById('ended-text').textContent`) === '游戏已结束。', 'the ended page is not in Chinese');
});
