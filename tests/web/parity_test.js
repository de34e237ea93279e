// SPDX-License-Identifier: MIT
// One board frame of a fixed deal drawn by the desktop's surface and by the page's canvas must
// agree: pictures in place with their keys applied alike, colours within resampling, texts'
// ink within 2 px. The desktop's frame comes from desktop_frame (argv[3]).
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { run, check } = require('./harness.js');
const { decodePng } = require('./png.js');
const { compareFrames } = require('./frame_compare.js');

const T = 'pelmoravanTest';
const SEED = 20261207;
const FRAMES = 3;

// The page draws its one 1024 x 768 screen whatever the window, so a small window must hand over
// the same surface, unscaled, as a window of that size.
const VIEWPORTS = [[1024, 768], [700, 500]];

run(async (page, ctx) => {
  for (const [width, height] of VIEWPORTS) {
    ctx.step = `the page draws the frame at ${width} x ${height}`;
    await page.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: false });
    await ctx.open(`?seed=${SEED}`);
    const shot = await page.eval(`(async () => {
      ${T}.holdTimer();
      ${T}.startGame();
      ${T}.tick(${FRAMES});
      const s = ${T}.surfacePixels();
      return { width: s.width, height: s.height, screen: ${T}.screenWidth(), data: s.data };
    })()`);
    const pageFrame = { width: shot.width, height: shot.height, data: Buffer.from(shot.data, 'base64') };

    ctx.step = `the desktop draws the frame at ${width} x ${height}`;
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'pelmoravan-parity-'));
    const png = path.join(dir, 'desktop.png'), json = path.join(dir, 'drawn.json');
    execFileSync(ctx.desktopFrame, ['--seed', SEED, shot.width, shot.height, shot.screen, FRAMES, png, json].map(String),
      { stdio: ['ignore', 'inherit', 'inherit'] });
    const desktopFrame = decodePng(fs.readFileSync(png));
    fs.writeFileSync(path.join(dir, 'page.rgba'), pageFrame.data);

    ctx.step = `the two frames agree at ${width} x ${height}`;
    const result = compareFrames(desktopFrame, pageFrame, JSON.parse(fs.readFileSync(json, 'utf8')));
    console.log(`${width} x ${height}: ${result.pictures} pictures, ${result.texts} texts; worst cell: mean ` +
      `difference ${(100 * result.worstMean).toFixed(2)} %, ${(100 * result.worstFar).toFixed(2)} % of pixels far off`);
    check(result.faults.length === 0, `${result.faults.length} differences (frames kept in ${dir}):\n` +
      result.faults.slice(0, 20).join('\n'));
    fs.rmSync(dir, { recursive: true, force: true });
  }
});
