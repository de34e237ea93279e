// The page is the screen: the surface fills the area under the menu bar. A viewport that shrinks
// during a game scales the canvas down to fit (the board does not move); the next game is dealt
// on the new size, with the small cells of a screen under 1024 pixels.
'use strict';
const { run, check } = require('./harness.js');
const { sleep } = require('./browser.js');

const T = 'pelmoravanTest';
const rect = `(() => { const r = ${T}.canvas().getBoundingClientRect(); return [r.width, r.height]; })()`;

run(async (page, ctx) => {
  ctx.step = 'a game on the whole area';
  await ctx.open();
  await page.key('F2', 113);
  await page.waitFor(`${T}.tileCount() === 160`, 'the deal');
  const [w, h] = await page.eval(`${T}.surfaceSize()`);
  check(w === 1024 && h > 700 && (await page.eval(`${T}.screenWidth()`)) === 1024,
    `surface ${w}x${h} in a 1024x768 viewport`);
  const cell = await page.eval(`${T}.tileCentre(1, 0)[0] - ${T}.tileCentre(0, 0)[0]`);

  ctx.step = 'the viewport shrinks: scaled down, same surface';
  await page.send('Emulation.setDeviceMetricsOverride', { width: 900, height: 600, deviceScaleFactor: 1, mobile: false });
  await page.waitFor(`${rect}[1] < 600`, 'the canvas to fit');
  const [cw, ch] = await page.eval(rect);
  check(JSON.stringify(await page.eval(`${T}.surfaceSize()`)) === JSON.stringify([w, h]), 'the surface changed size during the game');
  check(cw <= 900 && ch <= 600 - 20 && Math.abs(cw / ch - w / h) < 0.01, `the canvas shows ${cw}x${ch}, not the whole surface scaled`);

  ctx.step = 'the next game takes up the new size';
  await page.eval(`document.querySelector('[data-item="game1"] > .caption')
    .dispatchEvent(new MouseEvent('mousedown', { bubbles: true, cancelable: true }))`);
  await page.eval(`document.querySelector('[data-item="EndGame1"]').click()`);
  await page.waitFor(`${T}.gameState() === 0`, 'the title');
  await page.key('F2', 113);
  await page.waitFor(`${T}.gameState() === 1 && ${T}.tileCount() === 160`, 'the new deal');
  await sleep(100);
  const [nw, nh] = await page.eval(`${T}.surfaceSize()`);
  check(nw === 900 && nh < 600 && (await page.eval(`${T}.screenWidth()`)) === 900, `new surface ${nw}x${nh}`);
  const small = await page.eval(`${T}.tileCentre(1, 0)[0] - ${T}.tileCentre(0, 0)[0]`);
  check(cell === 50 && small === 37, `cells ${cell} then ${small} pixels wide, not 50 then 37`);
});
