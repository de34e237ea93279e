// SPDX-License-Identifier: MIT
// A player who hears only the page's live regions clears levels 1 and 2 of an English Easy game
// dealt from a fixed seed, by the arrow keys, Ctrl, Home, Space, Backspace and M: it knows where
// the cursor is and what lies there only from what it heard. Every cell heard is checked against
// the board, and every removal against the pair taken. On the way: pausing covers the words, the
// board's keys then say nothing, T still tells the status, and the status band's text is not live.
'use strict';
const { run, check } = require('./harness.js');
const { sleep } = require('./browser.js');

const T = 'pelmoravanTest';
const CODES = { ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Home: 36, ' ': 32, Backspace: 8, m: 77, t: 84, F3: 114 };
const COLUMNS = 16;
const ROWS = 10;
const CELL = /^(.+?) (\d+)(?: (\d+))?$/;

run(async (page, ctx) => {
  ctx.step = 'open the page';
  await ctx.open('?lang=en&seed=33');
  // Every text a region is given, as a reader would hear it, in order.
  await page.eval(`(() => {
    window.heard = [];
    for (const id of ['board-words', 'board-outcome', 'game-words']) {
      const r = document.getElementById(id);
      new MutationObserver(() => {
        const t = r.textContent.replace(/\\u00a0$/, '');
        if (t) for (const part of t.split('. ')) heard.push([id, part]);
      }).observe(r, { childList: true, characterData: true, subtree: true });
    }
    return true;
  })()`);
  check(await page.eval(`!document.getElementById('status').hasAttribute('aria-live')`), 'the status band is a live region');

  let seen = 0;
  let keys = 0;
  let shuffled = false;
  // Presses a key and returns what was heard for it (waiting for the first words, unless silent),
  // and the board as it then stands, for the checks.
  let board = null;
  const lastKeys = [];
  const press = async (key, { ctrl = false, silent = false } = {}) => {
    keys += 1;
    const base = { key, code: key, windowsVirtualKeyCode: CODES[key], nativeVirtualKeyCode: CODES[key], modifiers: ctrl ? 2 : 0 };
    const down = page.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', ...base });
    await page.send('Input.dispatchKeyEvent', { type: 'keyUp', ...base });
    await down;
    if (silent) await sleep(300);
    let said;
    for (let wait = 0; ; wait++) {
      [said, board] = await page.eval(`[heard.slice(${seen}), ${T}.board()]`);
      if (said.length || silent) break;
      check(wait < 500, `nothing heard after ${key}`);
      await sleep(10);
    }
    seen += said.length;
    // The last keys and their words, for the report of a level not cleared.
    lastKeys.push(`${key}${ctrl ? ' (Ctrl)' : ''}: ${JSON.stringify(said)}`);
    if (lastKeys.length > 40) lastKeys.shift();
    // After a shuffle the player no longer knows what lies under the cursor.
    if (said.some(([, t]) => t === 'tiles shuffled')) shuffled = true;
    return said;
  };

  // What the player knows, all of it from what it heard.
  let col = 1;
  let row = 1;
  let here = null; // the picture's name at the cursor, 'empty', or null when not known
  // Each name stands for one picture and each picture for one name, wherever heard.
  const byName = new Map();
  const byPicture = new Map();
  const checkCell = (board, name, c, r) => {
    const picture = board[c - 1][r - 1];
    check((name === 'empty') === (picture === -1), `heard "${name}" at ${c} ${r}, where the board holds ${picture}`);
    if (picture === -1) return;
    check((byName.get(name) ?? picture) === picture && (byPicture.get(picture) ?? name) === name,
      `"${name}" at ${c} ${r} holds picture ${picture}, heard before as ${byPicture.get(picture)} / ${byName.get(name)}`);
    byName.set(name, picture);
    byPicture.set(picture, name);
  };
  // A cell heard after a key that moved along `axis` ('col', 'row' or both for null).
  const hearCell = async (said, axis) => {
    const words = said.find(([id, t]) => id === 'board-words' && CELL.test(t) && !/ selected$/.test(t));
    check(words, `no cell heard: ${JSON.stringify(said)}`);
    const [, name, a, b] = words[1].match(CELL);
    if (b !== undefined) [col, row] = [Number(a), Number(b)];
    else if (axis === 'col') col = Number(a);
    else if (axis === 'row') row = Number(a);
    else check(false, `only one number after a key that moves both ways: "${words[1]}"`);
    here = name;
    checkCell(board, name, col, row);
  };
  const outcomeOf = (said) => (said.find(([id]) => id === 'board-outcome') || [])[1];
  let removals = 0;

  // On along the reading order to the next cell holding a tile (or the next row's first cell).
  const advance = async () => {
    const before = col;
    await hearCell(await press('ArrowRight', { ctrl: true }), 'col');
    if (col !== before) return;
    if (row < ROWS) {
      await hearCell(await press('ArrowDown'), 'row');
    } else {
      while (row > 1) await hearCell(await press('ArrowUp'), 'row');
    }
    await hearCell(await press('Home'), 'col');
  };

  // Takes the tile here, then walks its picture's other tiles with M, trying each with it until a
  // pair goes: 'removed', 'cleared' (the last pair) or 'kept' (none linked).
  const tryHere = async (level) => {
    const name = here;
    const start = [col, row];
    let said = await press(' ');
    check(said.some(([, t]) => t === `${name} selected`), `Space on ${name}: ${JSON.stringify(said)}`);
    for (let k = 0; k < 16; k++) {
      await hearCell(await press('m'), null);
      check(here === name, `M from ${name} went to ${here}`);
      if (col === start[0] && row === start[1]) break;
      const before = board;
      said = await press(' ');
      const outcome = outcomeOf(said);
      check(outcome, `no outcome after the second ${name}: ${JSON.stringify(said)}`);
      if (outcome === 'not linked') {
        await press('Backspace');
        continue;
      }
      // The pair taken is named, not what moved into its cells; then how the board moved and
      // where the cursor is.
      const parts = outcome.split('; ');
      const m = parts[0].match(/^two (.+) removed, (\d+) tiles left$/);
      check(m && m[1].includes(name.slice(0, Math.max(3, name.length - 2))), `took two ${name}, heard "${outcome}"`);
      check(before[start[0] - 1][start[1] - 1] === before[col - 1][row - 1], 'the pair heard was not a pair');
      // The last pair's board may be the next level's by the time it is read.
      check(Number(m[2]) === 0 || Number(m[2]) === board.flat().filter((p) => p !== -1).length,
        `"${outcome}": the tiles left are wrong`);
      removals += 1;
      if (level === 2 && Number(m[2]) > 0) {
        check(parts[1] === 'moved Left' && parts.length === 3, `level 2's removal: "${outcome}"`);
        const [, told, c, r] = parts[2].match(CELL);
        check(Number(c) === col && Number(r) === row, `the cursor's cell told as ${c} ${r}, not ${col} ${row}`);
        here = told;
        // A dead end after the move is shuffled at once, and told after: the words were true.
        if (!shuffled) checkCell(board, told, col, row);
      } else {
        check(parts.length === 1, `level 1's removal: "${outcome}"`);
        here = 'empty';
      }
      return Number(m[2]) === 0 ? 'cleared' : 'removed';
    }
    // None of them linked: let go of the selection.
    for (let k = 0; k < 3; k++) {
      said = await press('Backspace');
      if (said.some(([, t]) => t === 'nothing selected')) break;
    }
    return 'kept';
  };

  const playLevel = async (level) => {
    for (let turns = 0; turns < 3000; turns++) {
      if (shuffled) [here, shuffled] = [null, false];
      if (here === null) {
        // Where am I? M tells a whole cell.
        await hearCell(await press('m'), null);
      }
      if (here === 'empty') {
        await advance();
        continue;
      }
      const result = await tryHere(level);
      if (result === 'cleared') return;
      if (result === 'kept') await advance();
    }
    check(false, `level ${level} not cleared after ${keys} keys; the last keys:\n${lastKeys.join('\n')}`);
  };

  ctx.step = 'F2 deals, Tab reaches the board';
  await page.key('F2', 113);
  await page.waitFor(`heard.some(([id, t]) => t.startsWith('First Step: No Change, 160 tiles; cells read picture, column, row'))`, 'the first level told');
  for (let i = 0; i < 10 && !(await page.eval(`document.activeElement === ${T}.canvas()`)); i++) {
    await page.key('Tab', 9);
  }
  check(await page.eval(`document.activeElement === ${T}.canvas()`), 'Tab never reaches the board');
  seen = (await page.eval('heard')).length;
  await hearCell(await press('ArrowRight'), null); // the first key shows the cursor: a whole cell

  ctx.step = 'paused: the words covered, the board silent, T and F3 heard';
  let said = await press('F3');
  check(said.length === 1 && said[0][0] === 'game-words' && said[0][1] === 'paused', `F3: ${JSON.stringify(said)}`);
  check(await page.eval(`document.getElementById('board-words').textContent + document.getElementById('board-outcome').textContent`) === '',
    'the board\'s words are readable while it is covered');
  check((await press('ArrowRight', { silent: true })).length === 0, 'a board key spoke while paused');
  said = await press('t');
  check(/^First Step, No Change; \d+ seconds left, 10 hints, 10 shuffles, 0 points$/.test(said[0][1]), `T: ${JSON.stringify(said)}`);
  said = await press('F3');
  check(said[0][1] === `resumed; ${here} ${col} ${row}`, `F3 again: ${JSON.stringify(said)}`);

  ctx.step = 'level 1 by ear';
  const started = Date.now();
  await playLevel(1);
  console.log(`level 1: ${removals} pairs, ${keys} keys, ${((Date.now() - started) / 1000).toFixed(0)} s`);
  ctx.step = 'level 2 by ear';
  await page.waitFor(`heard.slice(${seen}).some(([, t]) => t === 'Second Step: Left, 160 tiles')`, 'the second level told');
  seen = (await page.eval('heard')).length;
  here = null;
  await playLevel(2);
  await page.waitFor(`heard.slice(${seen}).some(([, t]) => t.startsWith('Third Step: '))`, 'the third level told');
  console.log(`levels 1 and 2 cleared by ear: ${removals} pairs, ${keys} keys, ${byName.size} pictures heard`);
  check(removals === 160, `${removals} removals for two levels of 80 pairs`);
  check(page.consoleErrors.length === 0, `errors in the console: ${page.consoleErrors.join('\n')}`);
});
