// SPDX-License-Identifier: MIT
// Sound in the page: nothing sounds before the player's first click or key; then effects play
// through Web Audio and the music plays one of the built-in tracks; at the end of a track the
// next follows while music is on, and none once it is switched off.
'use strict';
const { run, check } = require('./harness.js');
const { sleep } = require('./browser.js');

const T = 'pelmoravanTest';

run(async (page, ctx) => {
  ctx.step = 'silent until the first gesture';
  await ctx.open();
  const quiet = await page.eval(`${T}.sound()`);
  check(quiet.context === 'none' && !quiet.playing, `sound before any gesture: ${JSON.stringify(quiet)}`);
  check(/^SOUND[1-4]$/.test(quiet.track), `the music chose ${quiet.track}, not one of the first four`);

  ctx.step = 'a click on a tile plays its effect, and the music starts';
  await page.key('F2', 113);
  await page.waitFor(`${T}.tileCount() === 160`, 'the deal');
  const [x, y] = await page.eval(`${T}.tileCentre(3, 3)`);
  const origin = await page.eval(`(() => { const r = ${T}.canvas().getBoundingClientRect(); return [r.left, r.top]; })()`);
  await page.click(origin[0] + x, origin[1] + y);
  const on = await page.waitFor(`${T}.sound().playing && ${T}.sound()`, 'the music to play');
  check(on.ran && on.effects >= 1, `after a click: ${JSON.stringify(on)}`);

  ctx.step = 'the effects\' context rests once they have ended, and wakes for the next';
  await page.waitFor(`${T}.sound().context === 'suspended'`, 'the audio context to rest');
  const [x2, y2] = await page.eval(`${T}.tileCentre(5, 5)`);
  await page.click(origin[0] + x2, origin[1] + y2);
  await page.waitFor(`${T}.sound().context === 'running'`, 'the audio context to run again');

  ctx.step = 'the end of a track starts another';
  await page.eval(`${T}.endTrack()`);
  const next = await page.waitFor(`${T}.sound().tracks === ${on.tracks + 1} && ${T}.sound()`, 'the next track');
  check(/^SOUND[1-4]$/.test(next.track) && next.playing, `after the end: ${JSON.stringify(next)}`);

  ctx.step = 'music switched off stays off';
  await page.eval(`document.querySelector('[data-item="Level1"] > .caption')
    .dispatchEvent(new MouseEvent('mousedown', { bubbles: true, cancelable: true }))`);
  await page.eval(`document.querySelector('[data-item="Sound1"]').dispatchEvent(new MouseEvent('mouseenter'))`);
  await page.eval(`document.querySelector('[data-item="BackgroundMusic1"]').click()`);
  await page.waitFor(`!${T}.sound().playing`, 'the music to stop');
  const tracks = (await page.eval(`${T}.sound()`)).tracks;
  await page.eval(`${T}.endTrack()`);
  await sleep(300);
  const off = await page.eval(`${T}.sound()`);
  check(off.tracks === tracks && !off.playing, `a track started with music off: ${JSON.stringify(off)}`);
});
