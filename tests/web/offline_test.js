// The page installable and kept for offline play: after one visit, with the server gone, a
// reload starts the game and F2 deals. Opened from disk it says it must be served over http.
'use strict';
const path = require('path');
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';

run(async (page, ctx) => {
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
