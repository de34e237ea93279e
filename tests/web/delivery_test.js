// SPDX-License-Identifier: MIT
// How the page arrives: a file that cannot be fetched is said on the page; the title shows with
// only its own pictures in, and a new game asked for before the tiles' pictures are in waits for
// them with the bar shown; the page is installable and kept for offline play (after one visit, with
// the server gone, a reload starts the game and F2 deals); opened from disk it says it must be
// served over http.
'use strict';
const path = require('path');
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';

run(async (page, ctx) => {
  // First, before any visit has kept the files: a blocked file cannot come from the keeper.
  ctx.step = 'a file that cannot be fetched is said on the page';
  const broken = await ctx.browser.newPage();
  await broken.send('Network.setBlockedURLs', { urls: ['*pictures-title.*'] });
  await broken.goto(`${ctx.url}index.html`);
  const failure = await broken.waitFor(`(() => { const f = document.getElementById('failed');
    return !f.hidden && !document.getElementById('loading') && f.textContent; })()`, 'the failure said');
  check(failure.includes('无法载入 pictures-title.pack'), `the page says: ${failure}`);

  ctx.step = 'the title shows without the rest of the pictures, and their loss is said';
  const titleOnly = await ctx.browser.newPage();
  await titleOnly.send('Network.setBlockedURLs', { urls: ['*pictures-rest.*'] });
  await titleOnly.goto(`${ctx.url}index.html`);
  const lost = await titleOnly.waitFor(`(() => { const f = document.getElementById('failed');
    return Pel.presented && !f.hidden && f.textContent; })()`, 'the title, then the failure said');
  check(lost.includes('无法载入 pictures-rest.pack'), `the page says: ${lost}`);
  await titleOnly.key('F2', 113);
  await titleOnly.eval('new Promise((r) => setTimeout(r, 300))');
  check(await titleOnly.eval(`${T}.gameState()`) === 0, 'a game was dealt without its pictures');

  ctx.step = 'F2 before the pictures are in waits for them';
  const early = await ctx.browser.newPage();
  // The pictures after the title's are held until the test lets them through.
  await early.send('Page.addScriptToEvaluateOnNewDocument', { source: `(() => {
    const get = window.fetch.bind(window);
    let release;
    const held = new Promise((r) => { release = r; });
    window.releasePictures = release;
    window.fetch = (url, ...a) => (String(url).includes('pictures-rest') ? held.then(() => get(url, ...a)) : get(url, ...a));
  })()` });
  await early.goto(`${ctx.url}index.html`);
  await early.waitFor("typeof Pel !== 'undefined' && Pel.running && Pel.presented", 'the title');
  await early.key('F2', 113);
  await early.waitFor(`!!document.getElementById('loading')`, 'the bar while the pictures are held');
  check(await early.eval(`${T}.gameState()`) === 0, 'a game was dealt before its pictures were in');
  await early.eval('releasePictures()');
  await early.waitFor(`${T}.gameState() === 1 && ${T}.tileCount() === 160 && !document.getElementById('loading')`,
    'the deal once the pictures are in, and the bar gone');
  check(early.errors.length === 0, `errors: ${JSON.stringify(early.errors)}`);

  ctx.step = 'the first visit keeps the build';
  await ctx.open();
  await page.waitFor(`navigator.serviceWorker.ready.then(() => true)`, 'the service worker active', 60000);
  check(await page.eval(`performance.getEntriesByName('pelmoravan-first-frame').length`) === 1,
    'no mark of the first frame');

  ctx.step = 'installable';
  const { installabilityErrors } = await page.send('Page.getInstallabilityErrors');
  check(installabilityErrors.length === 0, `not installable: ${JSON.stringify(installabilityErrors)}`);

  ctx.step = 'with no server, a reload starts the game and F2 deals';
  ctx.stopServer();
  await page.goto(`${ctx.url}index.html`);
  await page.waitFor(`window.${T} && ${T}.ready()`, 'the first frame offline', 30000);
  await page.key('F2', 113);
  await page.waitFor(`${T}.gameState() === 1 && ${T}.tileCount() === 160`, '160 tiles on the board offline');

  for (const [query, words] of [['', '通过 http'], ['?lang=en', 'served over http']]) {
    ctx.step = `opened from disk${query}`;
    const disk = await ctx.browser.newPage();
    await disk.goto(`file://${path.join(ctx.root, 'index.html')}${query}`);
    const said = await disk.waitFor(`(() => { const f = document.getElementById('failed');
      return !f.hidden && f.textContent; })()`, 'the message about http');
    check(said.includes(words) && said.includes('./play --web'), `opened from disk it says: ${said}`);
  }
});
