// The move field: a move typed in Chinese notation (炮二平五), WXF (C2.5)
// or ICCS (h2e2), which the game reads against the position on the board
// and plays as the two clicks it stands for. A text that reads as no legal
// move is answered with a note, and stays in the field to be mended.
export class MoveField {
  // send(message): to the game; allowed(): whether the game takes a move
  // now; say(text): the note under the field.
  constructor({ form, input, button }, { send, allowed, say }) {
    Object.assign(this, { form, input, button, send, allowed, say });
    this.sent = null;  // the text sent, until the game plays or refuses it
    form.addEventListener('submit', (event) => {
      event.preventDefault();
      const text = input.value.trim();
      if (!text || !this.allowed()) return;
      this.sent = text;
      this.say('');
      send({ type: 'move', text });
    });
  }

  // While the computer thinks, the field is refused and shows it.
  setDisabled(disabled) {
    for (const element of [this.input, this.button]) {
      if (disabled) element.setAttribute('aria-disabled', 'true');
      else element.removeAttribute('aria-disabled');
    }
  }

  // The game's record changed after a typed move: it was played.
  recordChanged() {
    if (this.sent === null) return;
    this.sent = null;
    this.input.value = '';
  }

  // The game could not play the text; fault: over, wait, unreadable or
  // illegal.
  refused(fault) {
    const text = this.sent || this.input.value.trim();
    this.sent = null;
    const notes = {
      over: '对局已经结束，请从菜单开始新局。',
      wait: '请等电脑走完这步棋。',
      unreadable: `“${text}”不是一步着法。可以写成 炮二平五、C2.5 或 h2e2。`,
      illegal: `“${text}”不是当前局面的合法着法。`,
    };
    this.say(notes[fault] || notes.illegal);
    this.input.focus();
  }
}
