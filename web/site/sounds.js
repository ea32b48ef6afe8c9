// The game's sounds through Web Audio: the WAVE resources, and a short tone
// for the system's message beep. A new sound cuts the one still playing, as
// in the window.
export class Sounds {
  // files: WAVE resource id -> file.
  constructor(files) {
    this.files = files;
    this.audio = null;  // made by load: making one holds the page up a while
    this.buffers = {};
    this.playing = null;
    // A browser lets a page make sound only after the player's first press,
    // so until then the context stays suspended and sounds are not heard.
    // The files are fetched (load) when the page says so, and at the first
    // press at the latest, so that they never hold up the board and the
    // game's module.
    const wake = () => {
      this.load();
      if (this.audio && this.audio.state === 'suspended') this.audio.resume();
    };
    window.addEventListener('pointerdown', wake, true);
    window.addEventListener('keydown', wake, true);
  }

  load() {
    const AudioContextClass = window.AudioContext || window.webkitAudioContext;
    if (this.audio || !AudioContextClass) return;
    this.audio = new AudioContextClass();
    for (const [id, file] of Object.entries(this.files)) {
      fetch(file)
        .then((response) => response.arrayBuffer())
        .then((bytes) => this.audio.decodeAudioData(bytes))
        .then((buffer) => { this.buffers[id] = buffer; })
        .catch((error) => console.error(`sound ${file}:`, error));
    }
  }

  // id: a WAVE resource id, or 'beep' for the system's message beep.
  play(id) {
    document.dispatchEvent(new CustomEvent('lanterra:sound', { detail: { id } }));
    if (id === 'beep') {
      this.start((audio) => {
        const tone = audio.createOscillator();
        const gain = audio.createGain();
        const now = audio.currentTime;
        tone.frequency.setValueAtTime(880, now);
        tone.frequency.exponentialRampToValueAtTime(660, now + 0.15);
        gain.gain.setValueAtTime(0.2, now);
        gain.gain.exponentialRampToValueAtTime(0.001, now + 0.2);
        tone.connect(gain).connect(audio.destination);
        tone.start(now);
        tone.stop(now + 0.2);
        return tone;
      });
      return;
    }
    const buffer = this.buffers[id];
    if (!buffer) return;
    this.start((audio) => {
      const source = audio.createBufferSource();
      source.buffer = buffer;
      source.connect(audio.destination);
      source.start();
      return source;
    });
  }

  start(makeSource) {
    if (!this.audio || this.audio.state !== 'running') return;
    if (this.playing) {
      try { this.playing.stop(); } catch (error) { /* it had ended */ }
    }
    this.playing = makeSource(this.audio);
  }
}
