// SPDX-License-Identifier: MIT
// Debian's Chromium, headless, driven through the DevTools protocol over a pipe (no socket, no
// downloads), and a static server for the built page.
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const TYPES = {
  '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css',
  '.woff2': 'font/woff2', '.ogg': 'audio/ogg', '.png': 'image/png', '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
  '.data': 'application/octet-stream', '.bmp': 'image/bmp', '.wav': 'audio/wav',
};

// Serves `root` on 127.0.0.1 at a free port; resolves to { server, url }.
function serve(root) {
  const server = http.createServer((req, res) => {
    const rel = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    let file = path.join(root, path.normalize(rel).replace(/^(\.\.[/\\])+/, ''));
    if (file.endsWith(path.sep)) file = path.join(file, 'index.html');
    fs.readFile(file, (err, body) => {
      if (err) { res.writeHead(404); res.end(); return; }
      res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-store' });
      res.end(body);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () =>
    resolve({ server, url: `http://127.0.0.1:${server.address().port}/` })));
}

const FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--remote-debugging-pipe', '--mute-audio', '--hide-scrollbars'];

// Starts Chromium with a fresh profile, holding the given preferences; resolves to a Browser
// once the protocol answers. `language` is the browser's (navigator.languages), which the game
// starts in without ?lang=: Chinese unless a test asks for another, whatever the machine's.
async function launch({ width = 1024, height = 768, preferences, language = 'zh-CN' } = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'pelmoravan-chromium-'));
  if (preferences) {
    fs.mkdirSync(path.join(profile, 'Default'));
    fs.writeFileSync(path.join(profile, 'Default', 'Preferences'), JSON.stringify(preferences));
  }
  const child = spawn(process.env.CHROMIUM || 'chromium',
    [...FLAGS, `--accept-lang=${language}`, `--user-data-dir=${profile}`, `--window-size=${width},${height}`, 'about:blank'],
    // Its own process group, so that closing it ends its helper processes too.
    { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'], detached: true });
  let log = '';
  child.stderr.on('data', (d) => { log = (log + d).slice(-4000); });
  const browser = new Browser(child, profile, () => log);
  await browser.send('Browser.getVersion');
  return browser;
}

class Browser {
  constructor(child, profile, log) {
    this.child = child; this.profile = profile; this.log = log;
    this.nextId = 1; this.pending = new Map(); this.listeners = [];
    let buffer = Buffer.alloc(0);
    child.stdio[4].on('data', (chunk) => {
      buffer = Buffer.concat([buffer, chunk]);
      let end;
      while ((end = buffer.indexOf(0)) >= 0) {
        this.dispatch(JSON.parse(buffer.subarray(0, end).toString('utf8')));
        buffer = buffer.subarray(end + 1);
      }
    });
    child.on('exit', (code) => {
      for (const { reject } of this.pending.values()) {
        reject(new Error(`chromium exited (${code}):\n${log()}`));
      }
      this.pending.clear();
    });
  }

  dispatch(message) {
    if (message.id !== undefined) {
      const call = this.pending.get(message.id);
      if (!call) return;
      this.pending.delete(message.id);
      if (message.error) call.reject(new Error(`${call.method}: ${message.error.message}`));
      else call.resolve(message.result);
    } else {
      for (const listener of this.listeners) listener(message);
    }
  }

  send(method, params = {}, sessionId) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, method });
      this.child.stdio[3].write(JSON.stringify(message) + '\0');
    });
  }

  on(listener) { this.listeners.push(listener); }

  // A new tab of the given viewport size, attached.
  async newPage({ width = 1024, height = 768 } = {}) {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Page(this, sessionId);
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    await page.send('Network.enable');
    await page.send('Log.enable');
    await page.send('Emulation.setDeviceMetricsOverride',
      { width, height, deviceScaleFactor: 1, mobile: false });
    await page.send('Emulation.setFocusEmulationEnabled', { enabled: true });
    return page;
  }

  async close() {
    try { await Promise.race([this.send('Browser.close'), sleep(3000)]); } catch (_) { /* gone */ }
    if (this.child.exitCode === null) this.child.kill('SIGKILL');
    await new Promise((r) => (this.child.exitCode !== null ? r() : this.child.on('exit', r)));
    try { process.kill(-this.child.pid, 'SIGKILL'); } catch (_) { /* none left */ }
    // Chromium's helpers may still be leaving files behind for a moment.
    try {
      fs.rmSync(this.profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
    } catch (e) {
      console.error(`left ${this.profile}: ${e.message}`);
    }
  }
}

class Page {
  constructor(browser, sessionId) {
    this.browser = browser; this.sessionId = sessionId;
    this.requests = []; this.errors = []; this.consoleErrors = [];
    browser.on((m) => {
      if (m.sessionId !== sessionId) return;
      if (m.method === 'Network.requestWillBeSent') this.requests.push(m.params.request.url);
      if (m.method === 'Network.loadingFinished') this.finished.push(m.params);
      if (m.method === 'Network.responseReceived') this.responses.set(m.params.requestId, m.params);
      if (m.method === 'Runtime.exceptionThrown') this.errors.push(m.params.exceptionDetails);
      if (m.method === 'Runtime.consoleAPICalled' && m.params.type === 'error') {
        this.consoleErrors.push(m.params.args.map((a) => a.value ?? a.description).join(' '));
      }
      if (m.method === 'Log.entryAdded' && m.params.entry.level === 'error') {
        this.consoleErrors.push(`${m.params.entry.text} ${m.params.entry.url || ''}`);
      }
      for (const w of this.waiters.splice(0)) {
        if (w.method === m.method) w.resolve(m.params); else this.waiters.push(w);
      }
    });
    this.finished = []; this.responses = new Map(); this.waiters = [];
  }

  send(method, params = {}) { return this.browser.send(method, params, this.sessionId); }

  once(method) { return new Promise((resolve) => this.waiters.push({ method, resolve })); }

  async goto(url) {
    const loaded = this.once('Page.loadEventFired');
    await this.send('Page.navigate', { url });
    await loaded;
  }

  async reload() {
    const loaded = this.once('Page.loadEventFired');
    await this.send('Page.reload', { ignoreCache: true });
    await loaded;
  }

  // Evaluates an expression in the page (promises awaited); returns its value.
  async eval(expression) {
    const r = await this.send('Runtime.evaluate',
      { expression, awaitPromise: true, returnByValue: true, userGesture: true });
    if (r.exceptionDetails) {
      const d = r.exceptionDetails;
      throw new Error(`page: ${(d.exception && d.exception.description) || d.text} in: ${expression}`);
    }
    return r.result.value;
  }

  // Polls `expression` until it is truthy; returns its value, or throws what `what` names.
  async waitFor(expression, what, timeoutMs = 10000) {
    const end = Date.now() + timeoutMs;
    let last;
    for (;;) {
      try { last = await this.eval(expression); } catch (e) { last = undefined; this.lastError = e.message; }
      if (last) return last;
      if (Date.now() > end) throw new Error(`timed out waiting for ${what} (last: ${JSON.stringify(last)}, ${this.lastError || 'no error'})`);
      await sleep(50);
    }
  }

  async screenshot() {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
    return Buffer.from(data, 'base64');
  }

  async key(name, keyCode) {
    const base = { key: name, code: name, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode };
    await this.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', ...base });
    await this.send('Input.dispatchKeyEvent', { type: 'keyUp', ...base });
  }

  // The viewport as a phone (touch: a coarse pointer, taps) or a desktop (mouse) shows it.
  async emulate({ width, height, touch = false, scale = 1 }) {
    await this.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: scale, mobile: touch });
    await this.send('Emulation.setTouchEmulationEnabled', { enabled: touch, maxTouchPoints: touch ? 5 : 1 });
  }

  // A finger down at (x, y), held for `holdMs` (the caller waits between), then lifted.
  async touch(type, x, y) {
    await this.send('Input.dispatchTouchEvent',
      { type, touchPoints: type === 'touchEnd' ? [] : [{ x, y, radiusX: 4, radiusY: 4, force: 1, id: 1 }] });
  }

  async tap(x, y) {
    await this.touch('touchStart', x, y);
    await this.touch('touchEnd', x, y);
  }

  // The centre of the first element `selector` finds, in CSS pixels of the viewport.
  async centreOf(selector) {
    return this.eval(`(() => { const e = document.querySelector(${JSON.stringify(selector)});
      if (!e) throw new Error('none: ' + ${JSON.stringify(selector)});
      const r = e.getBoundingClientRect(); return [r.left + r.width / 2, r.top + r.height / 2]; })()`);
  }

  async click(x, y, button = 'left') {
    const at = { x, y, button, clickCount: 1 };
    await this.send('Input.dispatchMouseEvent', { type: 'mouseMoved', x, y });
    await this.send('Input.dispatchMouseEvent', { type: 'mousePressed', ...at });
    await this.send('Input.dispatchMouseEvent', { type: 'mouseReleased', ...at });
  }
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

module.exports = { serve, launch, sleep, FLAGS };
