// SPDX-License-Identifier: MIT
// The game's dialogs are answered later: About does not stop play, and F9 opens no second
// dialog beside it. (The end of the last level, its name, list and question each in turn, is
// one of the scripted sessions every front end plays: conformance_test.js.)
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
});
