// The link to the game in its worker (worker.js): messages out, and the
// worker's messages handed, in order, to the handler of their type.
// <html data-state> tells whether the game is still handling something
// ('busy') or waits for the player ('ready').
export class GameLink {
  // handlers: message type -> function(message); ready: a promise the
  // messages wait for (the pictures they are drawn with).
  constructor(url, handlers, ready) {
    this.pending = 0;       // messages the worker has not finished yet
    this.started = false;
    this.worker = new Worker(url);
    this.worker.onmessage = (event) => {
      ready.then(() => {
        if (event.data.type === 'done') this.finished();
        else handlers[event.data.type](event.data);
      });
    };
    this.worker.onerror = (event) => console.error('the game stopped:', event.message);
  }

  send(message) {
    this.pending += 1;
    document.documentElement.dataset.state = 'busy';
    this.worker.postMessage(message);
  }

  // The game has started and has finished everything it was sent.
  get idle() {
    return this.started && this.pending === 0;
  }

  // The worker answers every message with 'done' after its other messages.
  finished() {
    this.pending -= 1;
    if (this.pending === 0) {
      this.started = true;
      document.documentElement.dataset.state = 'ready';
    }
  }
}
