// SPDX-License-Identifier: MIT
// What every browser test shares: the built page served locally, a fresh headless Chromium,
// the page's test hooks ready, and a failure report that names the step.
'use strict';
const fs = require('fs');
const path = require('path');
const { serve, launch } = require('./browser.js');

// Runs `body(page, ctx)` against the page in folder argv[2]; exits 0 or 1 with the failure.
// `language`: the browser's, Chinese unless given.
function run(body, { width = 1024, height = 768, query = '', preferences, language } = {}) {
  const root = path.resolve(process.argv[2] || 'build/web-test');
  const ctx = { root, desktopFrame: process.argv[3], step: 'start' };
  (async () => {
    if (!fs.existsSync(path.join(root, 'index.html'))) {
      throw new Error(`no built page at ${root} (tools/web/build.sh makes it)`);
    }
    const { server, url } = await serve(root);
    ctx.url = url;
    // Stops answering at once, open connections included: the network is gone.
    ctx.stopServer = () => { server.close(); server.closeAllConnections(); };
    const browser = await launch({ width, height, preferences, language });
    ctx.browser = browser;
    try {
      const page = await browser.newPage({ width, height });
      ctx.page = page;
      ctx.open = async (q = query) => {
        await page.goto(`${url}index.html${q}`);
        await page.waitFor('window.pelmoravanTest && pelmoravanTest.ready()', 'the first frame');
      };
      ctx.open.reload = async () => {
        await page.reload();
        await page.waitFor('window.pelmoravanTest && pelmoravanTest.ready()', 'the first frame after a reload');
      };
      await body(page, ctx);
      const foreign = page.requests.filter((u) => !u.startsWith(url) && !/^(data|blob):/.test(u));
      if (foreign.length) throw new Error(`the page fetched other sites' files: ${foreign.join(', ')}`);
      if (page.errors.length) {
        throw new Error(`uncaught errors in the page: ${page.errors.map((e) => (e.exception && e.exception.description) || e.text).join('\n')}`);
      }
    } finally {
      await browser.close();
      server.close();
    }
  })().then(() => process.exit(0), (e) => {
    console.error(`FAILED at "${ctx.step}": ${e.stack || e}`);
    process.exit(1);
  });
  return ctx;
}

function check(condition, message) {
  if (!condition) throw new Error(message);
}

module.exports = { run, check };
