// The menu bar, built and relabelled by the program's menu model.
(() => {
  'use strict';
  const P = Pel;
  // --- the menu bar, built and relabelled by the program's menu model ---
  const bar = document.getElementById('menubar');
  const items = [];
  const openTops = () => bar.querySelectorAll('.open');
  function closeMenus() {
    openTops().forEach((e) => e.classList.remove('open'));
  }
  // Commands wait while the program waits for a turn of the event loop; the dialogs make the
  // page inert while they are open.
  function whenFree(run) {
    // Nothing reaches the program before it has loaded everything, nor after it has ended.
    if (!P.running) return;
    if (!P.picturesDone) {
      // A command before the game's pictures are in waits for them, in sight.
      const shown = setInterval(() => P.loading(...P.picturesProgress()), 100);
      P.picturesReady.then(() => {
        clearInterval(shown);
        P.loading(null);
        whenFree(run);
      });
      return;
    }
    if (Module._pel_busy()) {
      setTimeout(() => whenFree(run), 10);
    } else {
      run();
    }
  }
  function openMenu(index) {
    whenFree(() => Module._pel_menu(index));
  }
  P.menu = {
    add(index, name, parent, shortcut, visible, checkMark, hasChildren) {
      const e = { index, name, parent, shortcut, checkMark, hasChildren };
      items[index] = e;
      if (parent < 0) {
        e.node = document.createElement('div');
        e.node.className = 'top';
        e.label = document.createElement('div');
        e.label.className = 'caption';
        e.node.append(e.label);
        bar.append(e.node);
      } else {
        e.node = document.createElement('div');
        e.node.className = 'entry';
        const check = document.createElement('span');
        check.className = 'check';
        e.check = check;
        e.label = document.createElement('span');
        e.label.className = 'label';
        const key = document.createElement('span');
        key.className = 'key';
        key.textContent = shortcut;
        e.node.append(check, e.label, key);
        if (hasChildren) e.node.classList.add('parent');
        items[parent].submenu.append(e.node);
      }
      e.node.dataset.item = name;
      e.node.hidden = !visible;
      if (hasChildren) {
        e.submenu = document.createElement('div');
        e.submenu.className = 'menu';
        e.node.append(e.submenu);
      }
      const target = parent < 0 ? e.label : e.node;
      if (parent < 0) {
        target.addEventListener('mousedown', (ev) => {
          ev.preventDefault();
          P.audio.unlock();
          const wasOpen = e.node.classList.contains('open');
          closeMenus();
          if (hasChildren && !wasOpen) {
            openMenu(index);
            e.node.classList.add('open');
          } else if (!hasChildren) {
            whenFree(() => Module._pel_menu(index));
          }
        });
        target.addEventListener('mouseenter', () => {
          // Moving along the bar with a menu open opens the neighbour, as menu bars do.
          if (bar.querySelector('.top.open') && !e.node.classList.contains('open')) {
            closeMenus();
            if (hasChildren) {
              openMenu(index);
              e.node.classList.add('open');
            }
          }
        });
      } else if (hasChildren) {
        e.node.addEventListener('mouseenter', () => {
          if (e.node.classList.contains('open')) return;
          e.node.parentElement.querySelectorAll(':scope > .entry.open').forEach((o) => o.classList.remove('open'));
          openMenu(index);
          e.node.classList.add('open');
        });
      } else {
        e.node.addEventListener('mouseenter', () => {
          e.node.parentElement.querySelectorAll(':scope > .entry.open').forEach((o) => o.classList.remove('open'));
        });
        e.node.addEventListener('click', (ev) => {
          ev.stopPropagation();
          if (e.node.classList.contains('disabled')) return;
          closeMenus();
          whenFree(() => Module._pel_menu(index));
        });
      }
    },
    update(index, caption, enabled, checked) {
      const e = items[index];
      if (!e) return;
      e.label.textContent = caption;
      e.node.classList.toggle('disabled', !enabled);
      if (e.check) e.check.textContent = e.checkMark && checked ? '\u2713' : '';
      e.enabled = enabled;
      e.checked = checked;
    },
    shortcutItem(key) {
      const e = items.find((i) => i && i.shortcut === key);
      return e ? e.index : -1;
    },
    state(name) {
      const e = items.find((i) => i && i.name === name);
      return e ? { caption: e.label.textContent, enabled: e.enabled !== false, checked: !!e.checked,
        visible: !e.node.hidden } : null;
    },
  };
  document.addEventListener('mousedown', (ev) => {
    if (!bar.contains(ev.target)) closeMenus();
  });
  P.closeMenus = closeMenus;
  P.whenFree = whenFree;
})();
