// The dialogs the program opens; each resolves when the player answers.
(() => {
  'use strict';
  const P = Pel;
  // --- dialogs: each resolves when the player answers; the program waits only for those whose
  // answer it uses ---
  P.dialogOpen = () => !!document.querySelector('dialog[open]');
  // Each dialog is named by its title, takes the focus when it opens and gives it back to
  // where it was when it closes.
  function dialog(id, caption, build) {
    return new Promise((resolve) => {
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
        resolve(answer);
      });
      document.body.append(d);
      d.showModal();
      const first = d.querySelector('[autofocus]') || d.querySelector('button');
      if (first) first.focus();
    });
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
  P.dialogs = {
    yesNo(caption, text) {
      return dialog('yes-no', caption, (body, buttons, finish) => {
        body.textContent = text;
        buttons.append(button(P.texts.yes, () => finish(true), true, 'yes'),
          button(P.texts.no, () => finish(false), false, 'no'));
        return false;
      });
    },
    inputName(caption, prompt, preset) {
      return dialog('name-prompt', caption, (body, buttons, finish) => {
        const label = document.createElement('label');
        label.textContent = prompt;
        const input = document.createElement('input');
        input.type = 'text';
        input.id = 'name-field';
        label.htmlFor = input.id;
        input.value = preset;
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
      });
    },
    scoreList(caption, headers, ok, rows) {
      return dialog('score-list', caption, (body, buttons, finish) => {
        const table = document.createElement('table');
        const head = table.createTHead().insertRow();
        const rowsBody = table.createTBody();
        headers.forEach((h) => {
          const th = document.createElement('th');
          th.textContent = h;
          head.append(th);
        });
        rows.forEach(({ name, score }, i) => {
          const row = rowsBody.insertRow();
          [String(i + 1), name, String(score)].forEach((t) => { row.insertCell().textContent = t; });
        });
        body.append(table);
        buttons.style.justifyContent = 'center';
        buttons.append(button(ok, () => finish(), true, 'ok'));
        return undefined;
      });
    },
    about(t) {
      const [caption, title, version, homeLabel, home, mailLabel, mail, howTo, close] = t;
      return dialog('about', caption, (body, buttons, finish) => {
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
        buttons.append(button(close, () => finish(), true));
        return undefined;
      });
    },
    // F9's dialog: a file name is asked for and nothing is saved, as on the desktop.
    save() {
      return dialog('save', P.texts.saveAs, (body, buttons, finish) => {
        const label = document.createElement('label');
        label.textContent = `${P.texts.fileName} `;
        const input = document.createElement('input');
        input.type = 'text';
        input.autofocus = true;
        label.append(input);
        body.append(label);
        buttons.append(button(P.texts.save, () => finish()), button(P.texts.cancel, () => finish()));
        return undefined;
      });
    },
    message(caption, text) {
      return dialog('message', caption, (body, buttons, finish) => {
        body.textContent = text;
        buttons.append(button(P.texts.ok, () => finish(), true));
        return undefined;
      });
    },
  };
})();
