// Dialogs whose answer nothing uses (the score list from the menu, About, F9's save dialog) do
// not hold the program: a difficulty that ends behind F9's dialog still asks for the name,
// records it, and asks whether to go on. F9 again opens no second dialog.
'use strict';
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';

run(async (page, ctx) => {
  ctx.step = 'open the page and deal';
  await ctx.open();
  await page.key('F2', 113);
  await page.waitFor(`${T}.tileCount() === 160`, '160 tiles on the board');

  ctx.step = 'the score list from the menu and About do not wait';
  const open = {
    'N2': `document.querySelector('[data-item="N2"]').click()`,
    'about': `document.querySelector('[data-item="about"] > .caption')
      .dispatchEvent(new MouseEvent('mousedown', { bubbles: true, cancelable: true }))`,
  };
  for (const [item, id] of [['N2', 'score-list'], ['about', 'about']]) {
    await page.eval(open[item]);
    await page.waitFor(`document.querySelector('dialog#${id}[open]')`, `the dialog of ${item}`);
    check(!(await page.eval(`${T}.busy()`)), `the dialog of ${item} holds the program`);
    await page.eval(`document.querySelector('dialog#${id} button').click()`);
    await page.waitFor(`!${T}.dialogOpen()`, `the dialog of ${item} to close`);
  }

  ctx.step = 'one pair left on the last level, F9 pressed twice';
  const pair = await page.eval(`(() => {
    const b = ${T}.board();
    const seen = new Map();
    for (let x = 0; x < b.length; x++) {
      for (let y = 0; y < b[x].length; y++) {
        if (b[x][y] < 0) continue;
        if (seen.has(b[x][y])) return [...seen.get(b[x][y]), x, y];
        seen.set(b[x][y], [x, y]);
      }
    }
    return null;
  })()`);
  await page.eval(`${T}.lastPair(${pair.join(',')})`);
  await page.waitFor(`${T}.tileCount() === 2`, 'two tiles left');
  await page.key('F9', 120);
  await page.waitFor(`document.querySelector('dialog#save[open]')`, "F9's dialog");
  check(!(await page.eval(`${T}.busy()`)), "F9's dialog holds the program");
  await page.key('F9', 120);

  ctx.step = 'the last pair removed behind the dialog: the name is asked';
  await page.eval(`(() => {
    const a = ${T}.tileCentre(${pair[0]}, ${pair[1]});
    const b = ${T}.tileCentre(${pair[2]}, ${pair[3]});
    ${T}.click(a[0], a[1]);
    ${T}.click(b[0], b[1]);
  })()`);
  await page.waitFor(`document.querySelector('#name-prompt[open]')`, 'the name prompt');
  await page.eval(`(() => {
    document.querySelector('#name-prompt input').value = 'F9 玩家';
    document.querySelector('#name-prompt button.ok').click();
  })()`);
  const first = await page.waitFor(`document.querySelector('#score-list[open] tbody tr') &&
    [...document.querySelector('#score-list tbody tr').cells].map((td) => td.textContent)`, 'the list after the name');
  check(first[1] === 'F9 玩家', `the list's first row is ${JSON.stringify(first)}`);
  await page.eval(`document.querySelector('#score-list button.ok').click()`);

  ctx.step = 'then the question';
  await page.waitFor(`document.querySelector('dialog#yes-no[open]')`, 'the question whether to go on');
  check(await page.eval(`document.querySelectorAll('dialog#save').length`) === 1, 'F9 opened a second dialog');
  await page.eval(`document.querySelector('dialog#yes-no button.no').click()`);
  await page.eval(`document.querySelector('dialog#save button').click()`);
  await page.waitFor(`!${T}.busy() && !${T}.dialogOpen()`, 'every dialog closed');
});
