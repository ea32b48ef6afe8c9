// The page: the window around the game. The game itself (controller, engine
// and book) runs in worker.js; this side draws what it asks for, plays its
// sounds, shows its boxes, keeps the menu's marks and the move record, and
// turns presses on the board, keys, typed moves and menu choices into
// messages for it.
import { BoardKeys } from './board-keys.js';
import { Boxes } from './boxes.js';
import { PageCommands } from './commands.js';
import { board, firstPaint } from './first-paint.js';
import { IDC_LEVEL_FIRST, IDC_LEVEL_LAST, IDC_SOUND, IDC_UNDO, MB_YESNO } from './ids.js';
import { GameLink } from './link.js';
import { Menu } from './menu.js';
import { MoveField } from './move-field.js';
import { keepOffline } from './offline.js';
import { MoveRecord, recordActions } from './record.js';
import { notResumed, saveGame, savedBoard, savedGame } from './saved-game.js';
import { Sounds } from './sounds.js';

const resources = JSON.parse(document.getElementById('resources').textContent);
const element = (id) => document.getElementById(id);
const windowElement = element('window');
const gbk = new TextDecoder('gbk');

const sounds = new Sounds(resources.sounds);
const boxes = new Boxes(element('box'), resources.icons, () => menu.close());

// The board and the menu take nothing while the worker is still handling
// something, or while a box is open: as in the window, whose handlers run
// to the end before the next press is looked at.
const idle = () => link.idle && !boxes.showing;

const record = new MoveRecord({
  list: element('moves'), outcome: element('outcome'), thinking: element('thinking'),
  note: element('record-note'), announceRegion: element('announce'),
});
// The state of the game the board's description tells, kept from the
// game's last record and its busy sign.
const kept = savedBoard();
const state = { humanBlack: Boolean(kept && kept.flipped), blackToMove: false, over: false, outcome: '', thinking: false };

// The game's module is fetched only once the board is on the screen.
const link = new GameLink('worker.js', {
  board: (m) => board.paintBoard(m.cells),
  square: (m) => {
    board.paintSquare(m.x, m.y, m.piece, m.framed);
    keys.painted(m.x, m.y, m.piece, m.framed);
  },
  sound: (m) => sounds.play(m.id),
  box: (m) => {
    const answer = boxes.show(gbk.decode(m.caption), gbk.decode(m.text), m.style, m.icon);
    if (m.style === MB_YESNO) answer.then((value) => link.send({ type: 'answer', answer: value }));
  },
  undo: (m) => menu.setDisabled(IDC_UNDO, !m.enabled),
  busy: (m) => showBusy(m.busy),
  menu: (m) => {
    for (let id = IDC_LEVEL_FIRST; id <= IDC_LEVEL_LAST; id++) menu.setChecked(id, id - IDC_LEVEL_FIRST === m.level);
    menu.setChecked(IDC_SOUND, m.sound);
  },
  record: (m) => {
    record.show(m);
    Object.assign(state, { humanBlack: m.humanBlack, blackToMove: m.blackToMove, over: m.over, outcome: m.outcome });
    keys.describe(state);
    moveField.recordChanged();
  },
  typedMove: (m) => moveField.refused(m.fault),
  link: (m) => commands.setLink(m.id, m.address),
  text: (m) => commands.setText(m.name, gbk.decode(m.bytes)),
  save: (m) => saveGame(m.text),
  notResumed: (m) => notResumed(m.reason),
}, firstPaint);
const commands = new PageCommands((message) => link.send(message), boxes);

// While the computer thinks, the sign beside the record says so, and what
// would change the game (the board, the menus, the move field) is shown
// refused until the reply is on the board.
function showBusy(busy) {
  board.showBusy(busy);
  windowElement.classList.toggle('busy', busy);
  record.showThinking(busy);
  menu.setBusy(busy);
  moveField.setDisabled(busy);
  state.thinking = busy;
  keys.describe(state);
}

// The seed of the game's one random generator: the time in seconds, as in
// the program, or ?seed=S to replay or share a game.
function seed() {
  const text = new URLSearchParams(location.search).get('seed');
  if (text !== null && /^\d{1,10}$/.test(text) && Number(text) <= 0xffffffff) return Number(text);
  return Math.floor(Date.now() / 1000) >>> 0;
}
// A kept game goes on with its own generator; the seed serves a new one.
link.send({ type: 'start', seed: seed(), saved: savedGame() });

let touched = false;
const press = (x, y) => {
  touched = true;
  if (idle()) link.send({ type: 'click', x, y });
};
board.onPress(press);
const keys = new BoardKeys(
  { canvas: element('board'), cursor: element('cursor'), state: element('board-state'), cursorState: element('cursor-state') },
  { press, cellAt: (x, y) => board.shown.get(`${x},${y}`) });
keys.describe(state);
const moveField = new MoveField(
  { form: element('move-form'), input: element('move-text'), button: element('move-submit') },
  { send: (message) => link.send(message), allowed: () => { touched = true; return idle(); }, say: (text) => record.say(text) });
recordActions(record, {
  copyButton: element('copy-record'), saveButton: element('save-record'), boxes,
  texts: () => commands.texts, pgn: () => record.pgn,
});
const menu = new Menu(element('menubar'), {
  idle,
  boxOpen: () => boxes.showing,
  run: (id) => {
    touched = true;
    if (idle()) commands.run(id);
  },
});

// The sounds wait for the game's start or the first press, so that they
// never hold up the board and the game's module on the network. A page the
// service worker serves takes them from the browser's cache at no cost, so
// they come right after the board, in time for the new-game sound where the
// browser lets it be heard (an installed app).
firstPaint.then(() => {
  if (navigator.serviceWorker && navigator.serviceWorker.controller) sounds.load();
});
link.gameStarted.then(() => sounds.load());
keepOffline(link.gameStarted, () => !touched);
