// SPDX-License-Identifier: MIT
// A browser that keeps no site data: the page says so once, in its box for errors, and the
// score list still works for the visit.
'use strict';
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';
const MESSAGE = 'dialog#message[open]';

run(async (page, ctx) => {
  ctx.step = 'open the page';
  await ctx.open('?lang=en');
  const text = await page.waitFor(`document.querySelector('${MESSAGE}') &&
    document.querySelector('${MESSAGE} .body').textContent`, 'the message that scores are not kept');
  check(/cannot keep the score list/.test(text), `the message says: ${text}`);
  await page.eval(`document.querySelector('${MESSAGE} button').click()`);

  ctx.step = 'a score is listed for the visit, and the message is not repeated';
  await page.eval(`${T}.offerScore(777)`);
  await page.waitFor(`document.querySelector('#name-prompt[open]')`, 'the name prompt');
  await page.eval(`document.querySelector('#name-prompt button.ok').click()`);
  const row = await page.waitFor(`document.querySelector('#score-list[open] tbody tr') &&
    [...document.querySelector('#score-list tbody tr').cells].map((td) => td.textContent)`, 'the list');
  check(JSON.stringify(row) === JSON.stringify(['1', 'Default User', '777']), `the first row is ${JSON.stringify(row)}`);
  check(!(await page.eval(`document.querySelector('${MESSAGE}')`)), 'the message came again');
}, { preferences: { profile: { default_content_setting_values: { cookies: 2 } } } });
