// The link to the game in its worker (worker.js): messages out, and the
// worker's messages handed, in order, to the handler of their type.
// <html data-state> tells whether the game is still handling something
// ('busy') or waits for the player ('ready').
export class GameLink {
  // handlers: message type -> function(message); ready: a promise the
  // worker waits for, so that fetching and compiling the game's module
  // does not hold up the first paint of the board. Messages sent before
  // then wait for the worker.
  constructor(url, handlers, ready) {
    this.pending = 0;       // messages the worker has not finished yet
    this.started = false;
    this.waiting = [];
    this.worker = null;
    // Resolves when the game has started and takes the player's moves.
    this.gameStarted = new Promise((resolve) => { this.resolveStarted = resolve; });
    ready.then(() => {
      this.worker = new Worker(url);
      this.worker.onmessage = (event) => {
        if (event.data.type === 'done') this.finished();
        else handlers[event.data.type](event.data);
      };
      this.worker.onerror = (event) => console.error('the game stopped:', event.message);
      for (const message of this.waiting.splice(0)) this.worker.postMessage(message);
    });
  }

  send(message) {
    this.pending += 1;
    document.documentElement.dataset.state = 'busy';
    if (this.worker) this.worker.postMessage(message);
    else this.waiting.push(message);
  }

  // The game has started and has finished everything it was sent.
  get idle() {
    return this.started && this.pending === 0;
  }

  // The worker answers every message with 'done' after its other messages.
  finished() {
    this.pending -= 1;
    if (this.pending === 0) {
      if (!this.started) {
        this.started = true;
        performance.mark('lanterra-ready');
        this.resolveStarted();
      }
      document.documentElement.dataset.state = 'ready';
    }
  }
}
