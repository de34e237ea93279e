// SPDX-License-Identifier: MIT
// The scripted sessions every front end plays alike (tests/conformance/sessions.txt), played by
// the page: menu items as clicks choose them, the last pair clicked, the dialogs read and
// answered through their own buttons. A page has no exit code: "ended" is its ended state.
'use strict';
const fs = require('fs');
const path = require('path');
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';
const OPEN = `document.querySelector('dialog[open]')`;
const KINDS = {
  'yes-no': 'question', 'name-prompt': 'name', 'score-list': 'list', message: 'message',
  about: 'about', save: 'save', 'score-busy': 'busy', 'start-error': 'message',
};

function readSessions(file) {
  const sessions = [];
  fs.readFileSync(file, 'utf8').split('\n').forEach((line, i) => {
    const start = line.search(/\S/);
    if (start < 0 || line[start] === '#') return;
    const text = line.slice(start);
    const gap = text.indexOf(' ');
    const step = { verb: gap < 0 ? text : text.slice(0, gap), arg: gap < 0 ? '' : text.slice(gap + 1), line: i + 1 };
    if (start === 0 && step.verb === 'session') sessions.push({ name: step.arg, steps: [] });
    else sessions[sessions.length - 1].steps.push(step);
  });
  return sessions;
}

run(async (page, ctx) => {
  // What settles after a step: the dialog it led to shows, or the game waits on nothing.
  const settled = (what) => page.waitFor(`${OPEN} || ${T}.ended() || !${T}.waiting()`, what);
  const shown = () => page.eval(`(() => {
    const d = ${OPEN};
    if (!d) return null;
    const body = d.querySelector('.body');
    const row = d.querySelector('tbody tr');
    return { kind: d.id, text: body ? body.textContent : '', row: row ? [...row.cells].map((c) => c.textContent) : [] };
  })()`);
  const verbs = {
    'start-out-of-order': () => page.eval(`${T}.startAgain()`),
    async deal() {
      await page.eval(`${T}.startGame()`);
      await page.waitFor(`${T}.tileCount() === 160`, 'the deal');
    },
    menu: (item) => page.eval(`${T}.menu(${JSON.stringify(item)})`),
    error: (text) => page.eval(`${T}.reportError(${JSON.stringify(text)})`),
    async 'last-pair'() {
      await page.eval(`(() => {
        const b = ${T}.board();
        const seen = new Map();
        for (let x = 0; x < b.length; x++) {
          for (let y = 0; y < b[x].length; y++) {
            if (b[x][y] < 0) continue;
            if (seen.has(b[x][y])) {
              const [c, r] = seen.get(b[x][y]);
              ${T}.lastPair(c, r, x, y);
              for (const [cc, rr] of [[c, r], [x, y]]) ${T}.click(...${T}.tileCentre(cc, rr));
              return;
            }
            seen.set(b[x][y], [x, y]);
          }
        }
      })()`);
      await page.waitFor(OPEN, 'a dialog at the end of the last level');
    },
    async shows(arg) {
      const s = await shown();
      if (arg === 'nothing') return check(!s, `shows ${s && s.kind}: ${s && s.text}`);
      check(s, 'nothing is shown');
      const gap = arg.indexOf(' ');
      const kind = gap < 0 ? arg : arg.slice(0, gap);
      check(KINDS[s.kind] === kind, `shows ${s.kind}, not ${kind}`);
      if (gap >= 0) check(s.text.includes(arg.slice(gap + 1)), `its text is ${JSON.stringify(s.text)}`);
    },
    async answer(arg) {
      const [how, ...name] = arg.split(' ');
      const before = await page.eval(`${T}.answered = ${OPEN}`);
      check(before, 'nothing to answer');
      await page.eval(`(() => {
        const d = ${OPEN};
        const input = d.querySelector('input');
        if (input && ${JSON.stringify(how)} === 'name') input.value = ${JSON.stringify(name.join(' '))};
        const b = d.querySelector('button.${how === 'name' ? 'ok' : how}') || d.querySelector('button');
        b.click();
      })()`);
      await page.waitFor(`${T}.answered !== ${OPEN}`, 'the dialog to close');
      await settled('what the answer leads to');
    },
    async 'list-first'(name) {
      const s = await shown();
      check(s && s.row.length === 3, 'no list with a first row');
      const score = await page.eval(`${T}.score()`);
      check(s.row[1] === name && s.row[2] === String(score), `the first row is ${JSON.stringify(s.row)}, not ${name} ${score}`);
    },
    async ended() {
      await page.waitFor(`${T}.ended()`, 'the ended page');
    },
    async state(arg) {
      const names = ['title', 'playing', 'paused', 'game-over'];
      const state = names[await page.eval(`${T}.gameState()`)];
      check(state === arg, `the game is on ${state}, not ${arg}`);
    },
  };
  const sessions = readSessions(path.join(__dirname, '..', 'conformance', 'sessions.txt'));
  check(sessions.length > 0, 'no sessions');
  for (const session of sessions) {
    // Each session on a fresh store: the score list of the one before is gone. The store is
    // cleared from a file of the same site that does not hold it open.
    await page.goto(`${ctx.url}sw.js`);
    await page.eval(`indexedDB.databases().then((all) => Promise.all(all.map((d) => new Promise((done) => {
      const q = indexedDB.deleteDatabase(d.name);
      q.onsuccess = q.onerror = q.onblocked = done;
    }))))`);
    await ctx.open('?seed=7');
    for (const step of session.steps) {
      ctx.step = `${session.name}: sessions.txt:${step.line}: ${step.verb} ${step.arg}`;
      check(verbs[step.verb], 'no such step');
      await verbs[step.verb](step.arg);
      if (!['answer', 'last-pair', 'shows', 'list-first', 'state', 'ended'].includes(step.verb)) {
        await settled('the step to settle');
      }
    }
  }
});
