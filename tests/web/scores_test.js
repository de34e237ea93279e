// SPDX-License-Identifier: MIT
// The best-score list lives in the browser's storage: a score recorded with a name is still in
// the list after the page is loaded again, and two tabs whose name prompts are open together
// both keep their scores.
'use strict';
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';
const LIST_ROWS = `[...document.querySelectorAll('#score-list tbody tr')]
  .map((tr) => [...tr.cells].map((td) => td.textContent.trim()))`;

// Answers the open name prompt of tab p with name; returns the rows of the list shown after it,
// once the list is closed and the file stored.
async function answer(p, name) {
  await p.eval(`(() => {
    const input = document.querySelector('#name-prompt input');
    input.value = ${JSON.stringify(name)};
    document.querySelector('#name-prompt button.ok').click();
  })()`);
  const rows = await p.waitFor(`document.querySelector('#score-list[open]') && ${LIST_ROWS}`, `the list after ${name}`);
  await p.eval(`document.querySelector('#score-list button.ok').click()`);
  await p.waitFor(`!document.querySelector('#score-list[open]') && ${T}.persisted()`, 'the list closed and the file stored');
  return rows;
}

run(async (page, ctx) => {
  ctx.step = 'open the page';
  await ctx.open();

  ctx.step = 'record a score';
  await page.eval(`${T}.offerScore(4321)`);
  await page.waitFor(`document.querySelector('#name-prompt[open] input')`, 'the name prompt');
  await page.eval(`(() => {
    const input = document.querySelector('#name-prompt input');
    input.value = 'Browser 玩家';
    input.dispatchEvent(new Event('input', { bubbles: true }));
    document.querySelector('#name-prompt button.ok').click();
  })()`);
  const rows = await page.waitFor(`document.querySelector('#score-list[open]') && ${LIST_ROWS}`, 'the score list');
  check(JSON.stringify(rows[0]) === JSON.stringify(['1', 'Browser 玩家', '4321']),
    `the list's first row is ${JSON.stringify(rows[0])}`);
  await page.eval(`document.querySelector('#score-list button.ok').click()`);
  await page.waitFor(`!document.querySelector('#score-list[open]') && ${T}.persisted()`,
    'the list closed and the file stored');

  ctx.step = 'the list after a reload';
  await ctx.open.reload();
  await page.eval(`document.querySelector('[data-item="N2"]').click()`);
  const again = await page.waitFor(`document.querySelector('#score-list[open]') && ${LIST_ROWS}`,
    'the score list after the reload');
  check(again.length === 10, `the list has ${again.length} rows`);
  check(JSON.stringify(again[0]) === JSON.stringify(['1', 'Browser 玩家', '4321']),
    `after the reload the list's first row is ${JSON.stringify(again[0])}`);
  check(again.slice(1).every((r) => r[1] === '' && r[2] === '0'), 'the other rows are not empty');
  await page.eval(`document.querySelector('#score-list button.ok').click()`);

  ctx.step = 'two tabs with their name prompts open together';
  const other = await ctx.browser.newPage();
  await other.goto(`${ctx.url}index.html`);
  await other.waitFor(`window.${T} && ${T}.ready()`, 'the second tab');
  await page.eval(`${T}.offerScore(3000)`);
  await page.waitFor(`document.querySelector('#name-prompt[open]')`, "the first tab's prompt");
  await other.eval(`${T}.offerScore(5000)`);
  await other.waitFor(`document.querySelector('#name-prompt[open]')`, "the second tab's prompt");
  const second = await answer(other, 'Second');
  check(second[0][1] === 'Second' && second[1][1] === 'Browser 玩家', `the second tab lists ${JSON.stringify(second)}`);
  const first = await answer(page, 'First');
  const want = [['1', 'Second', '5000'], ['2', 'Browser 玩家', '4321'], ['3', 'First', '3000']];
  check(JSON.stringify(first.slice(0, 3)) === JSON.stringify(want), `the first tab lists ${JSON.stringify(first)}`);

  ctx.step = "both tabs' scores after a reload";
  await ctx.open.reload();
  await page.eval(`document.querySelector('[data-item="N2"]').click()`);
  const stored = await page.waitFor(`document.querySelector('#score-list[open]') && ${LIST_ROWS}`,
    'the score list after the reload');
  check(JSON.stringify(stored.slice(0, 3)) === JSON.stringify(want), `after the reload the list is ${JSON.stringify(stored)}`);
});
