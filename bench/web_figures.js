// The browser version's figures, in Debian's headless Chromium (1024 x 768):
//   - everything the page loads: the bytes of every response over the wire, after a first
//     click (which starts the sound), a deal and a few seconds of play, so the music track and
//     the effects are in; also the size of the built folder on disk, which bounds it;
//   - the first title frame: from the navigation's start (performance.timeOrigin) to the
//     first frame the page presents, as the page records it (else when a poll first sees it);
//     RUNS fresh profiles, median and worst;
//   - the tab's CPU while idle on the play screen: after F2, nobody clicking, SECONDS long:
//     the renderer's main-thread busy time (DevTools Performance metric TaskDuration) over the
//     wall time, and the CPU time of every Chromium process from /proc over the same span, both
//     in percent of one core.
//
//   node bench/web_figures.js [BUILT_FOLDER=build/web] [SECONDS=20] [RUNS=5]
'use strict';
const fs = require('fs');
const path = require('path');
const { serve, launch, sleep } = require('../tests/web/browser.js');

const root = path.resolve(process.argv[2] || 'build/web');
const seconds = Number(process.argv[3] || 20);
const runs = Number(process.argv[4] || 5);
const T = 'pelmoravanTest';

function folderBytes(dir) {
  return fs.readdirSync(dir, { withFileTypes: true }).reduce((sum, e) => {
    const p = path.join(dir, e.name);
    return sum + (e.isDirectory() ? folderBytes(p) : fs.statSync(p).size);
  }, 0);
}

// CPU seconds (user + system) of the process and all its descendants.
function treeCpu(pid) {
  const tck = 100; // Linux's USER_HZ
  let total = 0;
  const children = new Map();
  for (const name of fs.readdirSync('/proc').filter((n) => /^\d+$/.test(n))) {
    try {
      const stat = fs.readFileSync(`/proc/${name}/stat`, 'utf8');
      const f = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const ppid = Number(f[1]);
      if (!children.has(ppid)) children.set(ppid, []);
      children.get(ppid).push({ pid: Number(name), cpu: (Number(f[11]) + Number(f[12])) / tck });
    } catch (_) { /* gone meanwhile */ }
  }
  const walk = (p) => (children.get(p) || []).forEach((c) => { total += c.cpu; walk(c.pid); });
  walk(pid);
  return total;
}

async function firstFrameMs(url) {
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.send('Page.navigate', { url });
    for (let i = 0; i < 2000; ++i) {
      const t = await page.eval(`window.${T} && ${T}.ready() ? (${T}.firstFrameAt ? ${T}.firstFrameAt() : performance.now()) : 0`).catch(() => 0);
      if (t) return t;
      await sleep(5);
    }
    throw new Error('no first frame in 10 s');
  } finally {
    await browser.close();
  }
}

(async () => {
  const { server, url } = await serve(root);
  const index = `${url}index.html`;
  try {
    const frames = [];
    for (let i = 0; i < runs; ++i) frames.push(await firstFrameMs(index));
    frames.sort((a, b) => a - b);

    const browser = await launch();
    try {
      const page = await browser.newPage();
      await page.send('Performance.enable');
      await page.goto(index);
      await page.waitFor(`${T}.ready()`, 'the first frame');
      const origin = await page.eval(`(() => { const r = ${T}.canvas().getBoundingClientRect(); return [r.left, r.top]; })()`);
      await page.click(origin[0] + 5, origin[1] + 5);
      await page.key('F2', 113);
      await page.waitFor(`${T}.gameState() === 1`, 'the play screen');
      await sleep(3000);
      const metric = async () => (await page.send('Performance.getMetrics')).metrics
        .find((m) => m.name === 'TaskDuration').value;
      const [task0, cpu0, t0] = [await metric(), treeCpu(browser.child.pid), Date.now()];
      await sleep(seconds * 1000);
      const [task1, cpu1, t1] = [await metric(), treeCpu(browser.child.pid), Date.now()];
      const wall = (t1 - t0) / 1000;
      const loaded = page.finished.reduce((s, f) => s + f.encodedDataLength, 0);
      const files = new Set(page.requests).size;
      const mb = (b) => (b / 1048576).toFixed(2);
      console.log(`page weight: ${mb(loaded)} MB over the wire in ${files} requests ` +
        `(built folder on disk: ${mb(folderBytes(root))} MB)`);
      console.log(`first title frame after navigation: median ${frames[frames.length >> 1].toFixed(0)} ms, ` +
        `worst ${frames[frames.length - 1].toFixed(0)} ms of ${runs} fresh starts`);
      console.log(`idle on the play screen for ${wall.toFixed(0)} s: tab main thread ` +
        `${(100 * (task1 - task0) / wall).toFixed(1)} % of a core; all Chromium processes ` +
        `${(100 * (cpu1 - cpu0) / wall).toFixed(1)} %`);
      console.log(`machine load average: ${fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ')}`);
    } finally {
      await browser.close();
    }
  } finally {
    server.close();
  }
})().catch((e) => { console.error(e.stack || e); process.exit(1); });
