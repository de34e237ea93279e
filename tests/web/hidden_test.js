// SPDX-License-Identifier: MIT
// The frame timer runs only while the tab can be seen, the page's form of "only while the
// application is active": hidden, the title stops waving; shown again, it waves on.
'use strict';
const { run, check } = require('./harness.js');
const { sleep } = require('./browser.js');

const T = 'pelmoravanTest';

// Whether the surface changes within ms milliseconds.
async function moves(page, ms) {
  const first = await page.eval(`${T}.surfacePixels().data`);
  for (const end = Date.now() + ms; Date.now() < end; await sleep(100)) {
    if ((await page.eval(`${T}.surfacePixels().data`)) !== first) return true;
  }
  return false;
}

// The browser under test never hides a headless tab by itself: the page is told so, as the
// browser tells it when the player switches tabs.
const setVisibility = (state) => `(() => {
  Object.defineProperty(document, 'visibilityState', { value: '${state}', configurable: true });
  document.dispatchEvent(new Event('visibilitychange'));
})()`;

run(async (page, ctx) => {
  ctx.step = 'the title waves';
  await ctx.open();
  check(await moves(page, 3000), 'the title does not wave');

  ctx.step = 'hidden, nothing is drawn';
  await page.eval(setVisibility('hidden'));
  await sleep(200); // a tick already under way may still land
  check(!(await moves(page, 1500)), 'frames went on while the tab was hidden');

  ctx.step = 'shown again, the title waves on';
  await page.eval(setVisibility('visible'));
  check(await moves(page, 3000), 'the title did not wave again');
});
