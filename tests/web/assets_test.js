// SPDX-License-Identifier: MIT
// What tools/web/assets.sh made for the page: every built-in track plays in Chromium, whole and
// audible, and the shipped font holds every character of the game's texts.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { run, check } = require('./harness.js');

const source = path.resolve(__dirname, '../..');

run(async (page, ctx) => {
  ctx.step = 'open the page';
  await ctx.open();

  const tracks = fs.readdirSync(path.join(source, 'assets/music')).filter((f) => /\.mid$/i.test(f));
  check(tracks.length === 5, `${tracks.length} built-in tracks`);
  for (const track of tracks) {
    const name = track.replace(/\.mid$/i, '');
    ctx.step = `music/${name}.ogg plays`;
    const heard = await page.eval(`(async () => {
      const bytes = await (await fetch(pelmoravanFiles.names['music/${name}.ogg'])).arrayBuffer();
      const audio = await new OfflineAudioContext(1, 1, 22050).decodeAudioData(bytes);
      const samples = audio.getChannelData(0);
      let loud = 0;
      for (const s of samples) if (Math.abs(s) > 0.02) loud += 1;
      return { seconds: audio.duration, loud: loud / samples.length };
    })()`);
    // The tracks run from 1 min 20 s to 1 min 45 s; most of a track is notes sounding.
    check(heard.seconds > 30 && heard.seconds < 200, `${name} lasts ${heard.seconds} s`);
    check(heard.loud > 0.3, `${name} is mostly silent (${(100 * heard.loud).toFixed(0)} % loud)`);
  }

  ctx.step = 'the font holds every character of the texts';
  const sources = execFileSync('git', ['-C', source, 'ls-files', 'src/*.cpp', 'src/*.h', 'src/*.html', 'src/*.js'],
    { encoding: 'utf8' }).split('\n').filter(Boolean).map((f) => path.join(source, f));
  const wanted = execFileSync('/usr/bin/python3', [path.join(source, 'tools/web/glyphs.py'), ...sources],
    { encoding: 'utf8' });
  const missing = execFileSync('/usr/bin/python3', ['-c', `
import sys
from fontTools.ttLib import TTFont
cmap = TTFont(sys.argv[1]).getBestCmap()
print(''.join(c for c in sys.stdin.read() if ord(c) not in cmap))`, path.join(ctx.root, await page.eval(`pelmoravanFiles.names['fonts/wqy-microhei.woff2']`))],
  { input: wanted, encoding: 'utf8' }).trim();
  check(wanted.length > 200 && wanted.includes('游') && wanted.includes('戏'), `the texts' characters were not found (${wanted.length})`);
  check(missing === '', `the page's font lacks ${JSON.stringify(missing)}`);
  check(await page.eval(`document.fonts.check('12px "WenQuanYi Micro Hei"', '游戏')`),
    'the page has not loaded its Chinese face');
});
