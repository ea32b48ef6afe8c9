// The game's engine and controller, off the page's thread: a decision may
// take a minute at the top level, and the page must keep answering.
// Messages in: start (with the seed and the saved game, if any), click,
// move (a move typed as text), command, answer. Every one is answered with the controller's events (from
// the module) and then 'done'.
'use strict';
importScripts('lanterra.js');

let game = null;
const waiting = [];

function run(message) {
  switch (message.type) {
    case 'start': start(message.seed >>> 0, message.saved || ''); break;
    case 'click': game._lanterra_click(message.x | 0, message.y | 0); break;
    case 'move': withText(String(message.text).slice(0, 64), (at, length) => game._lanterra_move(at, length)); break;
    case 'command': game._lanterra_command(message.id | 0); break;
    case 'answer': game._lanterra_answer(message.answer | 0); break;
    default: break;
  }
  postMessage({type: 'done'});
}

// Text goes into the module's memory as UTF-8 bytes with their length; the
// game reads no further than that.
function withText(text, use) {
  const bytes = new TextEncoder().encode(text);
  const at = game._malloc(bytes.length + 1);
  game.HEAPU8.set(bytes, at);
  use(at, bytes.length);
  game._free(at);
}

function start(seed, saved) {
  withText(saved, (at, length) => game._lanterra_start(seed, at, length));
}

onmessage = (event) => {
  if (game) run(event.data); else waiting.push(event.data);
};

createLanterra().then((module) => {
  game = module;
  for (const message of waiting.splice(0)) run(message);
});
