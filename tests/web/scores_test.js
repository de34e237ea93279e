// The best-score list lives in the browser's storage: a score recorded with a name is still in
// the list after the page is loaded again.
'use strict';
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';
const LIST_ROWS = `[...document.querySelectorAll('#score-list tbody tr')]
  .map((tr) => [...tr.cells].map((td) => td.textContent.trim()))`;

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
});
