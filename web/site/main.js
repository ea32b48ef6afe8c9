// The page: the window around the game. The game itself (controller, engine
// and book) runs in worker.js; this side draws what it asks for, plays its
// sounds, shows its boxes, keeps the menu's marks and turns presses on the
// board and menu choices into messages for it.
import { Boxes } from './boxes.js';
import { PageCommands } from './commands.js';
import { board, firstPaint } from './first-paint.js';
import { IDC_LEVEL_FIRST, IDC_LEVEL_LAST, IDC_SOUND, IDC_UNDO, MB_YESNO } from './ids.js';
import { GameLink } from './link.js';
import { Menu } from './menu.js';
import { keepOffline } from './offline.js';
import { notResumed, saveGame, savedGame } from './saved-game.js';
import { Sounds } from './sounds.js';

const resources = JSON.parse(document.getElementById('resources').textContent);
const windowElement = document.getElementById('window');
const gbk = new TextDecoder('gbk');

const sounds = new Sounds(resources.sounds);
const boxes = new Boxes(document.getElementById('box'), resources.icons, () => menu.close());

// The board and the menu take nothing while the worker is still handling
// something, or while a box is open: as in the window, whose handlers run
// to the end before the next press is looked at.
const idle = () => link.idle && !boxes.showing;

// The game's module is fetched only once the board is on the screen.
const link = new GameLink('worker.js', {
  board: (m) => board.paintBoard(m.cells),
  square: (m) => board.paintSquare(m.x, m.y, m.piece, m.framed),
  sound: (m) => sounds.play(m.id),
  box: (m) => {
    const answer = boxes.show(gbk.decode(m.caption), gbk.decode(m.text), m.style, m.icon);
    if (m.style === MB_YESNO) answer.then((value) => link.send({ type: 'answer', answer: value }));
  },
  undo: (m) => menu.setDisabled(IDC_UNDO, !m.enabled),
  busy: (m) => {
    board.showBusy(m.busy);
    windowElement.classList.toggle('busy', m.busy);
  },
  menu: (m) => {
    for (let id = IDC_LEVEL_FIRST; id <= IDC_LEVEL_LAST; id++) menu.setChecked(id, id - IDC_LEVEL_FIRST === m.level);
    menu.setChecked(IDC_SOUND, m.sound);
  },
  link: (m) => commands.setLink(m.id, m.address),
  text: (m) => commands.setText(m.name, gbk.decode(m.bytes)),
  save: (m) => saveGame(m.text),
  notResumed: (m) => notResumed(m.reason),
}, firstPaint);
const commands = new PageCommands((message) => link.send(message), boxes);

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
board.onPress((x, y) => {
  touched = true;
  if (idle()) link.send({ type: 'click', x, y });
});
const menu = new Menu(document.getElementById('menubar'), {
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
