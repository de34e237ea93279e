// SPDX-License-Identifier: MIT
// The menu bar, built and relabelled by the program's menu model; mouse, touch and keyboard
// work it as a menu bar: Tab reaches it, arrows move, Enter and Space choose, Esc closes.
(() => {
  'use strict';
  const P = Pel;
  const bar = document.getElementById('menubar');
  const items = [];

  // e.node holds the open state (a top item, or the row and submenu of an entry with one);
  // e.item is what the player points at and focuses.
  const isOpen = (e) => e.node.classList.contains('open');
  const visible = (e) => !e.node.hidden;
  const tops = () => items.filter((e) => e && e.parent < 0 && visible(e));
  const childrenOf = (e) => items.filter((c) => c && c.parent === e.index && visible(c));

  function setOpen(e, open) {
    e.node.classList.toggle('open', open);
    e.item.setAttribute('aria-expanded', String(open));
  }
  function closeUnder(e) {
    for (const c of childrenOf(e)) {
      if (c.hasChildren && isOpen(c)) {
        closeUnder(c);
        setOpen(c, false);
      }
    }
  }
  // refocus: give the focus back to the top item whose menu was open, when it was inside.
  function closeMenus(refocus) {
    const open = tops().find(isOpen);
    for (const e of tops()) {
      if (isOpen(e)) {
        closeUnder(e);
        setOpen(e, false);
      }
    }
    if (open && refocus && bar.contains(document.activeElement)) open.item.focus();
  }
  // Commands go to the program once it has the game's pictures; the dialogs make the page inert
  // while they are open.
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
    run();
    P.syncPage();
  }
  // Opening runs the menu's opening handler in the program, which brings its items up to date.
  function open(e, focusFirst) {
    if (isOpen(e)) return;
    const siblings = e.parent < 0 ? tops() : childrenOf(items[e.parent]);
    for (const s of siblings) {
      if (s !== e && s.hasChildren && isOpen(s)) {
        closeUnder(s);
        setOpen(s, false);
      }
    }
    whenFree(() => Module._pel_menu(e.index));
    setOpen(e, true);
    if (focusFirst !== undefined) {
      const list = childrenOf(e);
      const target = focusFirst ? list[0] : list[list.length - 1];
      if (target) target.item.focus();
    }
  }
  function choose(e) {
    if (e.hasChildren) {
      open(e, true);
      return;
    }
    if (e.enabled === false) return;
    closeMenus(true);
    whenFree(() => Module._pel_menu(e.index));
  }
  // The bar keeps one stop in the Tab order: the top item last focused.
  function rove(e) {
    for (const t of tops()) t.item.tabIndex = t === e ? 0 : -1;
  }

  function keydown(e, ev) {
    if (ev.altKey || ev.ctrlKey || ev.metaKey) return;
    const topOf = (x) => (x.parent < 0 ? x : topOf(items[x.parent]));
    const step = (list, from, by) => list[(list.indexOf(from) + by + list.length) % list.length];
    const moveTop = (by) => {
      const t = step(tops(), topOf(e), by);
      const wasOpen = tops().some(isOpen);
      closeMenus();
      rove(t);
      t.item.focus();
      if (wasOpen && t.hasChildren) open(t, true);
    };
    let handled = true;
    switch (ev.key) {
      case 'ArrowRight':
        if (e.parent >= 0 && e.hasChildren) open(e, true);
        else moveTop(1);
        break;
      case 'ArrowLeft':
        if (e.parent >= 0 && items[e.parent].parent >= 0) {
          const up = items[e.parent];
          closeUnder(up);
          setOpen(up, false);
          up.item.focus();
        } else {
          moveTop(-1);
        }
        break;
      case 'ArrowDown':
      case 'ArrowUp': {
        const by = ev.key === 'ArrowDown' ? 1 : -1;
        if (e.parent < 0) {
          if (e.hasChildren) open(e, by > 0);
        } else {
          step(childrenOf(items[e.parent]), e, by).item.focus();
        }
        break;
      }
      case 'Home':
      case 'End': {
        const list = e.parent < 0 ? tops() : childrenOf(items[e.parent]);
        const t = ev.key === 'Home' ? list[0] : list[list.length - 1];
        if (e.parent < 0) rove(t);
        t.item.focus();
        break;
      }
      case 'Enter':
      case ' ':
        if (e.parent < 0 && e.hasChildren && isOpen(e)) closeMenus(true);
        else choose(e);
        break;
      case 'Escape':
        if (e.parent >= 0 && items[e.parent].parent >= 0) {
          const up = items[e.parent];
          setOpen(up, false);
          up.item.focus();
        } else if (tops().some(isOpen)) {
          closeMenus(true);
        } else {
          handled = false; // nothing open: Esc keeps its meaning for the game
        }
        break;
      case 'Tab':
        closeMenus();
        handled = false;
        break;
      default:
        handled = false;
    }
    if (handled) {
      ev.preventDefault();
      ev.stopPropagation();
    }
  }

  P.menu = {
    add(index, name, parent, shortcut, visibleAtStart, checkMark, hasChildren) {
      const e = { index, name, parent, shortcut, checkMark, hasChildren };
      items[index] = e;
      e.item = document.createElement('div');
      e.item.setAttribute('role', checkMark ? 'menuitemcheckbox' : 'menuitem');
      e.item.tabIndex = -1;
      if (hasChildren) {
        e.item.setAttribute('aria-haspopup', 'menu');
        e.item.setAttribute('aria-expanded', 'false');
      }
      if (parent < 0) {
        e.node = document.createElement('div');
        e.node.className = 'top';
        e.node.setAttribute('role', 'none');
        e.item.className = 'caption';
        e.label = e.item;
        e.node.append(e.item);
        bar.append(e.node);
      } else {
        e.item.className = 'entry';
        const check = document.createElement('span');
        check.className = 'check';
        check.setAttribute('aria-hidden', 'true');
        e.check = check;
        e.label = document.createElement('span');
        e.label.className = 'label';
        const key = document.createElement('span');
        key.className = 'key';
        key.textContent = shortcut;
        if (shortcut) e.item.setAttribute('aria-keyshortcuts', shortcut);
        e.item.append(check, e.label, key);
        if (hasChildren) {
          e.item.classList.add('parent');
          e.node = document.createElement('div');
          e.node.className = 'sub';
          e.node.setAttribute('role', 'none');
          e.node.append(e.item);
        } else {
          e.node = e.item;
        }
        items[parent].submenu.append(e.node);
      }
      if (checkMark) e.item.setAttribute('aria-checked', 'false');
      e.item.dataset.item = name;
      if (parent < 0) {
        e.item.removeAttribute('data-item');
        e.node.dataset.item = name;
      }
      e.node.hidden = !visibleAtStart;
      if (hasChildren) {
        e.submenu = document.createElement('div');
        e.submenu.className = 'menu';
        e.submenu.setAttribute('role', 'menu');
        e.node.append(e.submenu);
      }
      e.item.addEventListener('keydown', (ev) => keydown(e, ev));
      e.item.addEventListener('focus', () => { if (parent < 0) rove(e); });
      if (parent < 0) {
        if (!tops().some((t) => t.item.tabIndex === 0)) e.item.tabIndex = 0;
        e.item.addEventListener('mousedown', (ev) => {
          ev.preventDefault();
          P.audio.unlock();
          const wasOpen = isOpen(e);
          closeMenus();
          if (hasChildren && !wasOpen) open(e);
          else if (!hasChildren) choose(e);
        });
        e.item.addEventListener('mouseenter', () => {
          // Moving along the bar with a menu open opens the neighbour, as menu bars do.
          if (tops().some(isOpen) && !isOpen(e)) {
            closeMenus();
            if (hasChildren) open(e);
          }
        });
      } else if (hasChildren) {
        e.item.addEventListener('mouseenter', () => open(e));
        e.item.addEventListener('click', (ev) => {
          ev.stopPropagation();
          open(e);
        });
      } else {
        e.item.addEventListener('mouseenter', () => {
          for (const s of childrenOf(items[parent])) {
            if (s.hasChildren && isOpen(s)) {
              closeUnder(s);
              setOpen(s, false);
            }
          }
        });
        e.item.addEventListener('click', (ev) => {
          ev.stopPropagation();
          choose(e);
        });
      }
    },
    update(index, caption, enabled, checked) {
      const e = items[index];
      if (!e) return;
      e.label.textContent = caption;
      if (e.submenu) e.submenu.setAttribute('aria-label', caption);
      if (enabled) e.item.removeAttribute('aria-disabled');
      else e.item.setAttribute('aria-disabled', 'true');
      if (e.check) e.check.textContent = e.checkMark && checked ? '\u2713' : '';
      if (e.checkMark) e.item.setAttribute('aria-checked', String(!!checked));
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
  // A press outside the bar while a menu is open, or while a finger's folded bar is out
  // (board_view.js: P.barUnfolded, P.foldBar), only closes it: the rest of that press reaches
  // nothing, so that the tap that closes a menu selects no tile and presses no button behind it.
  let eating = null;
  let eatClicksUntil = 0;
  window.addEventListener('pointerdown', (ev) => {
    eatClicksUntil = 0;
    const unfolded = !!(P.barUnfolded && P.barUnfolded());
    if (bar.contains(ev.target) || (!P.menuOpen() && !unfolded)) return;
    if (P.menuButton && P.menuButton.contains(ev.target)) return; // it folds the bar itself
    // A dialog a menu entry opened is the page now: the bar goes, the press is the dialog's.
    if (ev.target.closest && ev.target.closest('dialog')) {
      closeMenus();
      if (unfolded) P.foldBar();
      return;
    }
    ev.preventDefault();
    ev.stopImmediatePropagation();
    eating = ev.pointerId;
    closeMenus();
    if (unfolded) P.foldBar();
  }, true);
  const eat = (ev) => {
    ev.preventDefault();
    ev.stopImmediatePropagation();
  };
  for (const type of ['pointermove', 'pointerup', 'pointercancel']) {
    window.addEventListener(type, (ev) => {
      if (eating === null || ev.pointerId !== eating) return;
      eat(ev);
      if (type !== 'pointermove') {
        eating = null;
        // The click (and a mouse's compatibility events) the browser sends after the release.
        eatClicksUntil = performance.now() + 500;
      }
    }, true);
  }
  for (const type of ['mousedown', 'mouseup', 'click', 'contextmenu']) {
    window.addEventListener(type, (ev) => {
      if (eating !== null || performance.now() < eatClicksUntil) eat(ev);
    }, true);
  }
  P.menuOpen = () => tops().some(isOpen);
  P.closeMenus = closeMenus;
  P.whenFree = whenFree;
})();
