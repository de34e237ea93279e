// SPDX-License-Identifier: MIT
// The game's dialogs, one at a time, each answered later: About does not stop play, and no menu
// command runs while a dialog is open (F9 opens no second one). The end of the last level asks
// in turn, each after the answer to the one before: the name, the list with it, then whether to
// go on; Yes deals the next difficulty.
'use strict';
const { run, check } = require('./harness.js');
const { sleep } = require('./browser.js');

const T = 'pelmoravanTest';
const OPEN = `document.querySelectorAll('dialog[open]')`;

run(async (page, ctx) => {
  ctx.step = 'open the page and deal';
  await ctx.open();
  await page.key('F2', 113);
  await page.waitFor(`${T}.tileCount() === 160`, '160 tiles on the board');

  ctx.step = 'play goes on behind About; F9 opens nothing while it shows';
  await page.eval(`document.querySelector('[data-item="about"] > .caption')
    .dispatchEvent(new MouseEvent('mousedown', { bubbles: true, cancelable: true }))`);
  await page.waitFor(`document.querySelector('dialog#about[open]')`, 'About');
  const shot = await page.eval(`${T}.surfacePixels().data`);
  let drawn = false;
  for (const end = Date.now() + 3000; !drawn && Date.now() < end; await sleep(100)) {
    drawn = (await page.eval(`${T}.surfacePixels().data`)) !== shot;
  }
  check(drawn, 'the clock stood still behind About');
  await page.key('F9', 120);
  await sleep(200);
  check(await page.eval(`${OPEN}.length`) === 1 && !(await page.eval(`document.querySelector('dialog#save')`)),
    'F9 opened a dialog beside About');
  await page.eval(`document.querySelector('dialog#about button').click()`);
  await page.waitFor(`!${T}.dialogOpen()`, 'About to close');

  ctx.step = 'the last pair: the name is asked first';
  const pair = await page.eval(`(() => {
    const b = ${T}.board();
    const seen = new Map();
    for (let x = 0; x < b.length; x++) {
      for (let y = 0; y < b[x].length; y++) {
        if (b[x][y] < 0) continue;
        if (seen.has(b[x][y])) return [...seen.get(b[x][y]), x, y];
        seen.set(b[x][y], [x, y]);
      }
    }
    return null;
  })()`);
  await page.eval(`${T}.lastPair(${pair.join(',')})`);
  await page.waitFor(`${T}.tileCount() === 2`, 'two tiles left');
  await page.eval(`(() => {
    const a = ${T}.tileCentre(${pair[0]}, ${pair[1]});
    const b = ${T}.tileCentre(${pair[2]}, ${pair[3]});
    ${T}.click(a[0], a[1]);
    ${T}.click(b[0], b[1]);
  })()`);
  await page.waitFor(`document.querySelector('#name-prompt[open]')`, 'the name prompt');
  check(await page.eval(`${OPEN}.length`) === 1, 'another dialog shows beside the name prompt');
  const score = await page.eval(`${T}.score()`);
  await page.eval(`(() => {
    document.querySelector('#name-prompt input').value = '十级 玩家';
    document.querySelector('#name-prompt button.ok').click();
  })()`);

  ctx.step = 'then the list with the name';
  const first = await page.waitFor(`document.querySelector('#score-list[open] tbody tr') &&
    [...document.querySelector('#score-list tbody tr').cells].map((td) => td.textContent)`, 'the list after the name');
  check(first[1] === '十级 玩家' && first[2] === String(score), `the list's first row is ${JSON.stringify(first)}`);
  check(await page.eval(`${OPEN}.length`) === 1, 'the question shows beside the list');
  await page.eval(`document.querySelector('#score-list button.ok').click()`);

  ctx.step = 'then the question; Yes deals the next difficulty';
  await page.waitFor(`document.querySelector('dialog#yes-no[open]')`, 'the question whether to go on');
  await page.key('F9', 120);
  await sleep(200);
  check(!(await page.eval(`document.querySelector('dialog#save')`)), 'F9 opened its dialog behind the question');
  await page.eval(`document.querySelector('dialog#yes-no button.yes').click()`);
  await page.waitFor(`!${T}.dialogOpen() && ${T}.gameState() === 1 && ${T}.tileCount() > 2`, 'the next deal');
  check(!(await page.eval(`document.querySelector('dialog#save')`)), 'F9 ran once the dialogs closed');
});
