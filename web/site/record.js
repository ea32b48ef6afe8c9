// The move record beside the board: the game's moves as the game writes
// them (Chinese notation, numbered in pairs), the last one marked and kept
// in view, the result and why the game ended; the sign that the computer is
// thinking; and what a screen reader is told as each move is played.
import { MB_OK } from './ids.js';

// Announcements kept in the live region; older ones have been read.
const KEPT_ANNOUNCEMENTS = 3;

// The record's moves in order, each with the side that played it.
function movesOf(pairs) {
  const moves = [];
  for (const [, red, black] of pairs) {
    if (red) moves.push({ side: 'red', text: red });
    if (black) moves.push({ side: 'black', text: black });
  }
  return moves;
}

export class MoveRecord {
  // elements: list, outcome, thinking, note (a status line), announce (the
  // polite live region).
  constructor(elements) {
    Object.assign(this, elements);
    this.moves = null;     // as last shown; null before the game's first record
    this.outcomeText = '';
    this.text = '';        // the record as plain text, for the clipboard
    this.pgn = '';         // the record as a game file
  }

  // m: the game's record message. pairs: one line a pair, number, red's
  // and black's move separated by tabs.
  show(m) {
    const pairs = m.pairs.split('\n').filter(Boolean).map((line) => line.split('\t'));
    const rows = pairs.map(([number, red, black]) => {
      const row = document.createElement('li');
      const cell = (text, className) => {
        const span = document.createElement('span');
        span.className = className;
        span.textContent = text;
        row.append(span);
        return span;
      };
      cell(`${number}.`, 'number');
      cell(red || '…', 'move');
      if (black) cell(black, 'move');
      return row;
    });
    this.list.replaceChildren(...rows);
    const last = this.list.querySelector('li:last-child .move:last-child');
    if (last && last.textContent !== '…') {
      last.classList.add('last');
      last.setAttribute('aria-current', 'true');
      this.keepInView(last);
    }
    this.outcome.textContent = m.outcome;
    this.text = m.text;
    this.pgn = m.pgn || '';
    this.announceChanges(movesOf(pairs), m);
  }

  // Scrolls the list alone, never the page, so that the board stays put.
  // The list is the moves' offset parent.
  keepInView(element) {
    const list = this.list;
    const top = element.offsetTop;
    if (top < list.scrollTop) list.scrollTop = top;
    else if (top + element.offsetHeight > list.scrollTop + list.clientHeight) {
      list.scrollTop = top + element.offsetHeight - list.clientHeight;
    }
  }

  // Each new move as it is played, the player's and the computer's, then
  // the end of the game; a record taken back or started again is said too.
  announceChanges(moves, m) {
    const before = this.moves;
    this.moves = moves;
    if (!before) {
      this.outcomeText = m.outcome;
      return;
    }
    const human = m.humanBlack ? 'black' : 'red';
    const grown = moves.length > before.length && before.every((move, i) => move.text === moves[i].text);
    if (grown) {
      for (const move of moves.slice(before.length)) this.announce(`${move.side === human ? '你' : '电脑'}：${move.text}`);
    } else if (moves.length === 0 && before.length > 0) {
      this.announce('新局开始');
    } else if (moves.length < before.length) {
      this.announce(`悔棋，${moves.length ? `回到${moves[moves.length - 1].text}之后` : '回到开局'}`);
    }
    if (m.outcome && m.outcome !== this.outcomeText) this.announce(`对局结束：${m.outcome}`);
    this.outcomeText = m.outcome;
  }

  announce(text) {
    const line = document.createElement('p');
    line.textContent = text;
    this.announceRegion.append(line);
    while (this.announceRegion.childElementCount > KEPT_ANNOUNCEMENTS) this.announceRegion.firstElementChild.remove();
  }

  showThinking(busy) {
    this.thinking.hidden = !busy;
  }

  say(text) {
    this.note.textContent = text;
  }
}

// The record's two actions, copy and save, both inside the player's click,
// which is when a browser lets a page write the clipboard or a file.
// texts(): the program's texts the game sent; boxes: the message boxes.
export function recordActions(record, { copyButton, saveButton, texts, boxes, pgn }) {
  copyButton.addEventListener('click', async () => {
    try {
      if (!navigator.clipboard || !navigator.clipboard.writeText) throw new Error('no clipboard');
      await navigator.clipboard.writeText(record.text);
    } catch (error) {
      await boxes.show(texts().programCaption, texts().clipboardUnavailable, MB_OK, 'warning');
      return;
    }
    record.say('棋谱已复制到剪贴板。');
  });
  saveButton.addEventListener('click', () => {
    const text = pgn();
    if (!text) return;
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([text], { type: 'application/x-chess-pgn;charset=utf-8' }));
    link.download = `lanterra-${fileDate(new Date())}.pgn`;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
    record.say(`棋谱已保存为 ${link.download}。`);
  });
}

// 20260314-0930: the day and the minute, so that files sort by time.
function fileDate(date) {
  const two = (n) => String(n).padStart(2, '0');
  return `${date.getFullYear()}${two(date.getMonth() + 1)}${two(date.getDate())}-${two(date.getHours())}${two(date.getMinutes())}`;
}
