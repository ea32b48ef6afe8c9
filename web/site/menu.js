// The menu bar, built from the window's menu when the site is made: it opens
// and closes like the window's menus, by mouse, finger and keys, keeps the
// items' marks and gray states, and hands each chosen command on.
export class Menu {
  // idle(): whether the game takes a command now; boxOpen(): whether a
  // message box has the keys; run(id): carries out a chosen command.
  constructor(menubar, { idle, boxOpen, run }) {
    this.menubar = menubar;
    this.idle = idle;
    this.boxOpen = boxOpen;
    this.run = run;
    // Where the keys were before they came to the menu: they go back there
    // when it closes, as they do to the window.
    this.returnTo = null;
    menubar.addEventListener('focusin', (event) => {
      if (event.relatedTarget && !menubar.contains(event.relatedTarget)) this.returnTo = event.relatedTarget;
    });
    this.listenToPointer();
    document.addEventListener('keydown', (event) => this.key(event));
  }

  setChecked(id, checked) {
    const item = this.itemOf(id);
    if (item) item.setAttribute('aria-checked', String(checked));
  }

  setDisabled(id, disabled) {
    const item = this.itemOf(id);
    if (!item) return;
    if (disabled) item.setAttribute('aria-disabled', 'true');
    else item.removeAttribute('aria-disabled');
  }

  // While the game is busy the menus do not open, and their titles say so.
  setBusy(busy) {
    for (const title of this.menubar.querySelectorAll('.title')) {
      if (busy) title.setAttribute('aria-disabled', 'true');
      else title.removeAttribute('aria-disabled');
    }
  }

  // keepFocus: another menu opens at once and takes the keys.
  close({ keepFocus = false } = {}) {
    const wasOpen = this.anyOpen();
    const title = wasOpen && this.menubar.querySelector('.menu.open > .title');
    for (const open of this.menubar.querySelectorAll('.open')) open.classList.remove('open');
    for (const expanded of this.menubar.querySelectorAll('[aria-expanded="true"]')) {
      expanded.setAttribute('aria-expanded', 'false');
    }
    if (!wasOpen || keepFocus || !this.menubar.contains(document.activeElement)) return;
    const returnTo = this.returnTo;
    this.returnTo = null;
    // A menu reached from nowhere else leaves the keys on its title.
    (returnTo && returnTo.isConnected ? returnTo : title).focus({ preventScroll: true });
  }

  itemOf(id) {
    return this.menubar.querySelector(`[data-command="${id}"]`);
  }

  anyOpen() {
    return this.menubar.querySelector('.menu.open') !== null;
  }

  open(menu) {
    this.close({ keepFocus: true });
    menu.classList.add('open');
    menu.querySelector('.title').setAttribute('aria-expanded', 'true');
  }

  openSubmenu(item) {
    for (const sibling of item.parentElement.children) {
      if (sibling !== item && sibling.classList.contains('open')) {
        sibling.classList.remove('open');
        sibling.setAttribute('aria-expanded', 'false');
        for (const inner of sibling.querySelectorAll('.open')) inner.classList.remove('open');
      }
    }
    item.classList.add('open');
    item.setAttribute('aria-expanded', 'true');
  }

  choose(item) {
    if (item.getAttribute('aria-disabled') === 'true') return;
    // A submenu opens on a click as on hovering, and stays open.
    if (item.classList.contains('submenu')) {
      this.openSubmenu(item);
      return;
    }
    this.close();
    this.run(Number(item.dataset.command));
  }

  listenToPointer() {
    for (const menu of this.menubar.querySelectorAll('.menu')) {
      const title = menu.querySelector('.title');
      title.addEventListener('click', () => {
        if (menu.classList.contains('open')) this.close();
        else if (this.idle()) this.open(menu);
      });
      title.addEventListener('pointerenter', () => {
        if (this.anyOpen() && !menu.classList.contains('open')) this.open(menu);
      });
    }
    for (const item of this.menubar.querySelectorAll('.item')) {
      item.addEventListener('pointerenter', (event) => {
        if (event.pointerType !== 'mouse') return;
        item.focus({ preventScroll: true });
        if (item.classList.contains('submenu')) this.openSubmenu(item);
        else {
          for (const sibling of item.parentElement.querySelectorAll(':scope > .submenu.open')) {
            sibling.classList.remove('open');
            sibling.setAttribute('aria-expanded', 'false');
          }
        }
      });
      item.addEventListener('click', (event) => {
        event.stopPropagation();
        this.choose(item);
      });
    }
    // A click anywhere else closes the menu, as in the window.
    document.addEventListener('pointerdown', (event) => {
      if (!this.menubar.contains(event.target)) this.close();
    });
  }

  // Alt with a menu's letter opens it; in an open menu, an item's letter
  // chooses it, the arrows move, Enter chooses and Escape closes.
  key(event) {
    if (this.boxOpen()) return;
    const key = event.key.toLowerCase();
    if (event.altKey && !this.anyOpen()) {
      const title = this.menubar.querySelector(`.title[data-key="${key}"]`);
      if (title && this.idle()) {
        event.preventDefault();
        this.open(title.parentElement);
        firstItem(title.parentElement.querySelector('.popup')).focus();
      }
      return;
    }
    if (!this.anyOpen()) return;
    const focused = document.activeElement;
    const list = focused && focused.classList.contains('item')
      ? focused.parentElement
      : this.menubar.querySelector('.menu.open > .popup');
    const items = [...list.children].filter((li) => li.classList.contains('item'));
    const at = items.indexOf(focused);
    if (key === 'escape') {
      this.close();
    } else if (key === 'arrowdown' || key === 'arrowup') {
      const step = key === 'arrowdown' ? 1 : -1;
      items[(at + step + items.length) % items.length].focus();
    } else if (key === 'arrowright' && focused && focused.classList.contains('submenu')) {
      this.openSubmenu(focused);
      firstItem(focused.querySelector('.popup')).focus();
    } else if (key === 'arrowleft' && list.parentElement.classList.contains('submenu')) {
      list.parentElement.classList.remove('open');
      list.parentElement.setAttribute('aria-expanded', 'false');
      list.parentElement.focus();
    } else if (key === 'arrowright' || key === 'arrowleft') {
      // Beside the menus, as in the window: the next or the previous one.
      const menus = [...this.menubar.querySelectorAll(':scope > .menu')];
      const at = menus.indexOf(this.menubar.querySelector(':scope > .menu.open'));
      const next = menus[(at + (key === 'arrowright' ? 1 : -1) + menus.length) % menus.length];
      this.open(next);
      firstItem(next.querySelector('.popup')).focus();
    } else if (key === 'enter' && at >= 0) {
      this.choose(focused);
    } else {
      const match = items.find((li) => li.dataset.key === key);
      if (!match) return;
      if (match.classList.contains('submenu')) {
        this.openSubmenu(match);
        firstItem(match.querySelector('.popup')).focus();
      } else {
        this.choose(match);
      }
    }
    event.preventDefault();
  }
}

function firstItem(list) {
  return list.querySelector(':scope > .item');
}
