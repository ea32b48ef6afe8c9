// The message boxes, drawn as a modal dialog with the program's icons. Boxes
// asked for while one is open wait their turn, as the window's would.
import { IDNO, IDOK, IDYES, MB_YESNO } from './ids.js';

export class Boxes {
  // icons: icon resource id -> file; beforeShow: called as each box opens.
  constructor(dialog, icons, beforeShow) {
    this.dialog = dialog;
    this.icons = icons;
    this.beforeShow = beforeShow;
    this.queue = [];
    this.showing = false;
  }

  // A modal box; resolves with the button pressed (IDOK, IDYES or IDNO).
  // icon: an icon resource id, or the name of a system symbol the page has
  // a picture of ('information', 'warning').
  show(caption, text, style, icon) {
    return new Promise((resolve) => {
      this.queue.push({ caption, text, style, icon, resolve });
      if (!this.showing) this.next();
    });
  }

  next() {
    const box = this.queue.shift();
    if (!box) {
      this.showing = false;
      return;
    }
    this.showing = true;
    this.beforeShow();
    // The keys go back where they were once the box is answered.
    const returnTo = document.activeElement;
    const dialog = this.dialog;
    dialog.querySelector('.caption').textContent = box.caption;
    dialog.querySelector('#box-text').textContent = box.text;
    dialog.querySelector('.icon').src = this.icons[box.icon] || `${box.icon}.svg`;
    const buttons = dialog.querySelector('.buttons');
    buttons.textContent = '';
    const choices = box.style === MB_YESNO
      ? [[IDYES, '是(Y)', 'y'], [IDNO, '否(N)', 'n']]
      : [[IDOK, '确定', '']];
    const finish = (answer) => {
      dialog.removeEventListener('cancel', cancel);
      dialog.removeEventListener('keydown', keys);
      dialog.close();
      if (returnTo && returnTo !== document.body && returnTo.isConnected) returnTo.focus({ preventScroll: true });
      box.resolve(answer);
      this.next();
    };
    // Escape answers a box with one button; a yes/no box needs a real answer.
    const cancel = (event) => {
      event.preventDefault();
      if (box.style !== MB_YESNO) finish(IDOK);
    };
    const keys = (event) => {
      const button = buttons.querySelector(`[data-key="${event.key.toLowerCase()}"]`);
      if (button && !event.altKey && !event.ctrlKey && !event.metaKey) button.click();
    };
    for (const [answer, label, key] of choices) {
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = label;
      button.dataset.answer = String(answer);
      if (key) button.dataset.key = key;
      button.addEventListener('click', () => finish(answer));
      buttons.append(button);
    }
    dialog.addEventListener('cancel', cancel);
    dialog.addEventListener('keydown', keys);
    dialog.showModal();
    buttons.firstChild.focus();
  }
}
