// SPDX-License-Identifier: MIT
// axe-core (tests/web/package-lock.json pins it) finds nothing serious or critical on the
// title, the play screen, an open menu and each dialog, with a mouse and on a touch screen in
// English, whose page is marked English and asks in English.
'use strict';
const fs = require('fs');
const path = require('path');
const { run, check } = require('./harness.js');

const T = 'pelmoravanTest';
const AXE = path.join(__dirname, 'node_modules', 'axe-core', 'axe.min.js');

run(async (page, ctx) => {
  if (!fs.existsSync(AXE)) throw new Error(`no ${AXE}: ./check installs it (npm ci in tests/web)`);
  const axe = fs.readFileSync(AXE, 'utf8');
  const audit = async (screen) => {
    ctx.step = `axe on ${screen}`;
    if (!(await page.eval('!!window.axe'))) await page.eval(axe);
    const found = await page.eval(`axe.run(document).then((r) => r.violations
      .filter((v) => v.impact === 'serious' || v.impact === 'critical')
      .map((v) => v.id + ' (' + v.impact + '): ' + v.nodes.map((n) => n.target.join(' ')).join(', ')))`);
    check(found.length === 0, `${screen}: ${found.join('; ')}`);
  };
  const dialog = async (id, open, close) => {
    if (open) await page.eval(open);
    await page.waitFor(`document.querySelector('dialog#${id}[open]')`, id);
    await audit(`the ${id} dialog`);
    await page.eval(`document.querySelector('dialog#${id} ${close}').click()`);
    await page.waitFor(`!document.querySelector('dialog#${id}[open]')`, `the ${id} dialog to close`);
  };
  const menu = (item) => `document.querySelector('[data-item="${item}"] > .caption')
    .dispatchEvent(new MouseEvent('mousedown', { bubbles: true, cancelable: true }))`;

  await ctx.open();
  await audit('the title');
  await page.eval(menu('game1'));
  await audit('an open menu');
  await page.key('Escape', 27);
  await page.key('F2', 113);
  await page.waitFor(`${T}.gameState() === 1`, 'a game');
  await page.waitFor(`document.getElementById('status').textContent.includes('Scores : 0')`, 'the spoken status');
  await audit('the play screen');
  await dialog('score-list', `${menu('other1')}; document.querySelector('[data-item="N2"]').click()`, 'button.ok');
  await dialog('about', menu('about'), 'button');
  await dialog('save', 'document.dispatchEvent(new KeyboardEvent("keydown", { key: "F9", bubbles: true }))', 'button');
  await page.eval('document.dispatchEvent(new KeyboardEvent("keyup", { key: "F9", bubbles: true }))');
  await dialog('name-prompt', `${T}.offerScore(1)`, 'button.ok');
  await dialog('score-list', null, 'button.ok'); // the list that follows a name
  await page.waitFor(`${T}.persisted()`, 'the score stored');
  await dialog('message', `void Pel.dialogs.show(0, 3, document.title, 'x', '', 'OK', true, [])`, 'button');

  ctx.step = 'English on a touch screen';
  await page.emulate({ width: 844, height: 390, touch: true, scale: 3 });
  await ctx.open('?lang=en');
  check(await page.eval('document.documentElement.lang') === 'en', 'the English page is not marked English');
  await page.key('F2', 113);
  await page.waitFor(`${T}.gameState() === 1`, 'a game');
  await audit('the play screen with its buttons');
  await dialog('yes-no', menu('Exit1'), 'button.no');
  check(await page.eval(`document.querySelector('#play-buttons button[data-item="1"]').textContent`) === 'New Game', 'a button not in English');
});
