// SPDX-License-Identifier: MIT
// The page starts in the browser's language when the address names none: an English browser gets
// English (the loader's own words too), a Chinese one Chinese; ?lang=en and ?lang=zh still win,
// and nothing of the choice is kept for the next visit.
'use strict';
const path = require('path');
const { run, check } = require('./harness.js');
const { launch } = require('./browser.js');

const T = 'pelmoravanTest';

// The page's language mark and the name the game gives its board, once a game is dealt.
async function started(page, url) {
  await page.goto(url);
  await page.waitFor(`window.${T} && ${T}.ready()`, 'the first frame');
  await page.key('F2', 113);
  await page.waitFor(`${T}.gameState() === 1`, 'a game');
  return page.eval(`[document.documentElement.lang, Pel.texts.playArea].join(' ')`);
}

run(async (page, ctx) => {
  ctx.step = 'an English browser, no ?lang';
  check(await started(page, `${ctx.url}index.html`) === 'en Game board', 'an English browser does not get English');

  ctx.step = '?lang=zh in an English browser';
  const zh = await started(page, `${ctx.url}index.html?lang=zh`);
  check(zh.startsWith('zh ') && zh !== 'zh Game board', `?lang=zh gives: ${zh}`);

  ctx.step = 'the next visit without ?lang';
  check(await started(page, `${ctx.url}index.html`) === 'en Game board', '?lang=zh was kept for the next visit');

  ctx.step = 'the loader speaks the same language';
  const disk = await ctx.browser.newPage();
  await disk.goto(`file://${path.join(ctx.root, 'index.html')}`);
  const said = await disk.waitFor(`(() => { const f = document.getElementById('failed');
    return !f.hidden && f.textContent; })()`, 'the message about http');
  check(said.includes('served over http'), `opened from disk in an English browser it says: ${said}`);

  ctx.step = 'a Taiwanese browser, then ?lang=en';
  const chinese = await launch({ language: 'zh-TW,en' });
  try {
    const tab = await chinese.newPage();
    const first = await started(tab, `${ctx.url}index.html`);
    check(first.startsWith('zh ') && first === zh, `a Chinese browser gets: ${first}`);
    check(await started(tab, `${ctx.url}index.html?lang=en`) === 'en Game board', '?lang=en does not win');
  } finally {
    await chinese.close();
  }
}, { language: 'en-GB,zh-CN' });
