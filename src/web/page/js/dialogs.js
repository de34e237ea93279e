// SPDX-License-Identifier: MIT
// The dialogs the program asks for: each is shown at once and hands its answer to the program
// when it closes, whatever closed it.
(() => {
  'use strict';
  const P = Pel;
  P.dialogOpen = () => !!document.querySelector('dialog[open]');
  // Each dialog is named by its title, takes the focus when it opens and gives it back to
  // where it was when it closes; then done(answer), unless it was withdrawn.
  function dialog(id, caption, build, done) {
    const before = document.activeElement;
    P.closeMenus();
    const d = document.createElement('dialog');
    d.id = id;
    const title = document.createElement('div');
    title.className = 'title';
    title.id = `${id}-title`;
    title.textContent = caption;
    d.setAttribute('aria-labelledby', title.id);
    const body = document.createElement('div');
    body.className = 'body';
    const buttons = document.createElement('div');
    buttons.className = 'buttons';
    d.append(title, body, buttons);
    let answer;
    const finish = (value) => {
      answer = value;
      d.close();
    };
    const cancelValue = build(body, buttons, finish, d);
    d.addEventListener('cancel', (ev) => {
      ev.preventDefault();
      finish(cancelValue);
    });
    d.addEventListener('close', () => {
      d.remove();
      if (before && before !== document.body && before.isConnected) before.focus();
      if (!d.withdrawn) done(answer);
    });
    document.body.append(d);
    d.showModal();
    const first = d.querySelector('[autofocus]') || d.querySelector('button');
    if (first) first.focus();
    return d;
  }
  function button(text, onClick, isDefault, className) {
    const b = document.createElement('button');
    if (className) b.className = className;
    b.type = 'button';
    b.textContent = text;
    if (isDefault) b.autofocus = true;
    b.addEventListener('click', onClick);
    return b;
  }
  // The builders by the request's kind (its number in the program), each giving its dialog's id
  // and what fills it: build(body, buttons, finish) returns the answer Esc gives.
  let r; // the request being built
  const OK = (finish) => () => finish(true);
  const message = (text) => (body, buttons, finish) => {
    body.textContent = text;
    buttons.append(button(r.button, OK(finish), true, 'ok'));
    return false;
  };
  const kinds = [
    // yes or no
    () => ['yes-no', (body, buttons, finish) => {
      body.textContent = r.text;
      buttons.append(button(P.texts.yes, () => finish(true), true, 'yes'),
        button(P.texts.no, () => finish(false), false, 'no'));
      return false;
    }],
    // a name, or cancel
    () => ['name-prompt', (body, buttons, finish) => {
      const label = document.createElement('label');
      label.textContent = r.text;
      const input = document.createElement('input');
      input.type = 'text';
      input.id = 'name-field';
      label.htmlFor = input.id;
      input.value = r.preset;
      input.autofocus = true;
      input.style.display = 'block';
      input.style.width = '260px';
      input.addEventListener('keydown', (ev) => {
        if (ev.key === 'Enter') finish(input.value);
      });
      body.append(label, input);
      buttons.append(button(P.texts.ok, () => finish(input.value), false, 'ok'),
        button(P.texts.cancel, () => finish(null), false, 'cancel'));
      setTimeout(() => input.select(), 0);
      return null;
    }],
    // the score list: three headers, then name and score by turns
    () => ['score-list', (body, buttons, finish) => {
      const table = document.createElement('table');
      const head = table.createTHead().insertRow();
      const rowsBody = table.createTBody();
      r.items.slice(0, 3).forEach((h) => {
        const th = document.createElement('th');
        th.textContent = h;
        head.append(th);
      });
      for (let i = 3; i + 1 < r.items.length; i += 2) {
        const row = rowsBody.insertRow();
        [String((i - 1) / 2), r.items[i], r.items[i + 1]].forEach((t) => { row.insertCell().textContent = t; });
      }
      body.append(table);
      buttons.style.justifyContent = 'center';
      buttons.append(button(r.button, OK(finish), true, 'ok'));
      return false;
    }],
    // a notice or an error
    () => ['message', message(r.text)],
    // About: title, version, home label and address, mail label and address, how to play
    () => ['about', (body, buttons, finish) => {
      const [title, version, homeLabel, home, mailLabel, mail, howTo] = r.items;
      const line = (...nodes) => {
        const p = document.createElement('div');
        p.className = 'center';
        p.append(...nodes);
        body.append(p);
      };
      const bold = document.createElement('b');
      bold.textContent = title;
      line(bold);
      line(version);
      const link = (text, href) => {
        const a = document.createElement('a');
        a.textContent = text;
        a.href = href;
        a.target = '_blank';
        a.rel = 'noopener noreferrer';
        return a;
      };
      line(`${homeLabel} `, link(home, home));
      line(`${mailLabel} `, link(mail, `mailto:${mail}`));
      const pre = document.createElement('pre');
      pre.textContent = howTo;
      body.append(pre);
      buttons.append(button(r.button, OK(finish), true));
      return false;
    }],
    // F9's dialog: a file name is asked for and nothing is saved, as on the desktop.
    () => ['save', (body, buttons, finish) => {
      const label = document.createElement('label');
      label.textContent = `${P.texts.fileName} `;
      const input = document.createElement('input');
      input.type = 'text';
      input.autofocus = true;
      label.append(input);
      body.append(label);
      buttons.append(button(P.texts.save, OK(finish)), button(P.texts.cancel, () => finish(false)));
      return false;
    }, P.texts.saveAs],
    // another copy holds the score file: its one button gives the wait up
    () => ['score-busy', (body, buttons, finish) => {
      body.textContent = r.text;
      buttons.append(button(r.button, () => finish(false), true, 'cancel'));
      return false;
    }],
    // the start failed: the page ends once it is closed
    () => ['start-error', message(r.text)],
  ];
  const shown = new Map();
  P.dialogs = {
    // The program's request: shown now, answered through pel_answer once closed.
    show(id, kind, caption, text, preset, buttonText, error, items) {
      r = { text, preset, button: buttonText, items };
      const [name, build, ownCaption] = kinds[kind]();
      const d = dialog(name, ownCaption || caption, build, (answer) => {
        shown.delete(id);
        let given = 0;
        if (typeof answer === 'string') {
          const size = Module.lengthBytesUTF8(answer) + 1;
          given = Module._malloc(size);
          Module.stringToUTF8(answer, given, size);
        }
        Module._pel_answer(id, answer === true || typeof answer === 'string' ? 1 : 0, given);
        P.syncPage();
      });
      if (error) d.classList.add('error');
      shown.set(id, d);
    },
    // The program answered it itself: down without an answer.
    withdraw(id) {
      const d = shown.get(id);
      if (!d) return;
      shown.delete(id);
      d.withdrawn = true;
      d.close();
    },
  };
})();
