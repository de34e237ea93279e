// SPDX-License-Identifier: MIT
// The link line's passes are drawn on turns of the page's loop, after the events pending then:
// a click that comes between two passes is handled in full (its pair removed, its own line
// drawn) and both lines end. A shuffle while the name prompt is open runs to its end at once, and
// frames go on behind the prompt.
'use strict';
const { run, check } = require('./harness.js');
const { sleep } = require('./browser.js');

const T = 'pelmoravanTest';

run(async (page, ctx) => {
  ctx.step = 'open the page and deal';
  await ctx.open('?seed=7'); // a fixed deal, so that the pairs below are there every run
  await page.key('F2', 113);
  await page.waitFor(`${T}.tileCount() === 160`, '160 tiles on the board');

  ctx.step = 'find two pairs: the hinted one, and two neighbours with one picture';
  await page.key('F4', 115);
  await page.waitFor(`${T}.selectedMarks().length === 2`, 'two hinted tiles');
  const pairs = await page.eval(`(() => {
    const b = ${T}.board();
    const marks = ${T}.selectedMarks();
    const near = (p, q) => Math.abs(p[0] - q[0]) < 2 && Math.abs(p[1] - q[1]) < 2;
    const hinted = [];
    for (let x = 0; x < b.length; x++) {
      for (let y = 0; y < b[x].length; y++) {
        if (marks.some((m) => near(m, ${T}.tileCentre(x, y)))) hinted.push([x, y]);
      }
    }
    const picture = b[hinted[0][0]][hinted[0][1]];
    for (let x = 0; x < b.length; x++) {
      for (let y = 0; y < b[x].length; y++) {
        for (const [u, v] of [[x, y + 1], [x + 1, y]]) {
          if (u < b.length && v < b[u].length && b[x][y] >= 0 && b[x][y] === b[u][v] && b[x][y] !== picture) {
            return { first: marks, second: [${T}.tileCentre(x, y), ${T}.tileCentre(u, v)] };
          }
        }
      }
    }
    return { first: marks, second: null };
  })()`);
  check(pairs.second, 'no two neighbouring tiles share a picture on this deal');

  ctx.step = 'a click between two passes of the link line removes another pair';
  const score = await page.eval(`${T}.score()`);
  const turns = await page.eval(`${T}.turns()`);
  await page.eval(`(() => {
    const [a, b] = ${JSON.stringify(pairs.first)};
    const [p, q] = ${JSON.stringify(pairs.second)};
    window.nested = { done: false };
    ${T}.click(a[0], a[1]);
    ${T}.click(b[0], b[1]);
    nested.pending = ${T}.turnPending();
    ${T}.beforeNextTurn(() => {
      ${T}.click(p[0], p[1]);
      ${T}.click(q[0], q[1]);
      nested.done = true;
    });
  })()`);
  const nested = await page.waitFor('window.nested.done && window.nested', 'the click between passes');
  check(nested.pending, 'the first link line was drawn whole inside the click');
  await page.waitFor(`!${T}.turnPending()`, 'both link lines to end');
  check(await page.eval(`${T}.tileCount()`) === 156, 'both pairs are not gone');
  // Each line's first pass comes with its click, the other four on turns of their own.
  const had = (await page.eval(`${T}.turns()`)) - turns;
  check(had >= 8, `the two lines had ${had} turns, not 8`);
  check(await page.eval(`${T}.score()`) > score, `the score stayed at ${score}`);

  ctx.step = 'a shuffle while the name prompt is open finishes at once; frames go on';
  await page.eval(`${T}.offerScore(1)`);
  await page.waitFor(`document.querySelector('dialog#name-prompt[open]')`, 'the name prompt');
  const before = await page.eval(`JSON.stringify(${T}.board())`);
  check(await page.eval(`${T}.shuffleNow()`) === 1, 'the shuffle did not finish at once');
  check(await page.eval(`JSON.stringify(${T}.board())`) !== before, 'the shuffle mixed nothing');
  check(await page.eval(`${T}.tileCount()`) === 156, 'the shuffle changed the number of tiles');
  // The status band's clock goes on behind the prompt: the timer still ticks.
  const shot = await page.eval(`${T}.surfacePixels().data`);
  let drawn = false;
  for (const end = Date.now() + 3000; !drawn && Date.now() < end; await sleep(100)) {
    drawn = (await page.eval(`${T}.surfacePixels().data`)) !== shot;
  }
  check(drawn, 'no frame was drawn while the name prompt was open');
  await page.eval(`document.querySelector('dialog#name-prompt button.ok').click()`);
  await page.waitFor(`document.querySelector('dialog#score-list[open]')`, 'the list after the name');
  await page.eval(`document.querySelector('dialog#score-list button.ok').click()`);
  await page.waitFor(`!${T}.dialogOpen()`, 'the list to close');
  check(await page.eval(`${T}.gameState()`) === 1, 'the game did not go on after the list');
});
