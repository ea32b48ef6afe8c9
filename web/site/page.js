// The page: the window around the game. The game itself (controller, engine
// and book) runs in worker.js; this side draws what it asks for, plays its
// sounds, shows its boxes, keeps the menu's marks and turns presses on the
// board and menu choices into messages for it.
'use strict';

(() => {
  const BOARD_WIDTH = 520;
  const BOARD_HEIGHT = 576;
  const CELL = 56;
  const BOARD_PICTURE = 200;
  const FRAME_PICTURE = 201;
  const PIECE_PICTURE_BASE = 200;
  const BOX_YESNO = 4;
  const ANSWER_OK = 1;
  const ANSWER_YES = 6;
  const ANSWER_NO = 7;
  const COMMAND = {
    undo: 421, sound: 431, copy: 485, levelFirst: 411, levelLast: 417,
  };

  const resources = JSON.parse(document.getElementById('resources').textContent);
  const windowElement = document.getElementById('window');
  const canvas = document.getElementById('board');
  const context = canvas.getContext('2d');
  const screen = context.createImageData(BOARD_WIDTH, BOARD_HEIGHT);
  const gbk = new TextDecoder('gbk');

  // ------------------------------------------------------------ pictures ---

  // The bitmaps are 8-bit palette BMPs; they are decoded here rather than by
  // the browser so that every pixel keeps its exact colour.
  function decodeBmp(buffer, name) {
    const view = new DataView(buffer);
    const bytes = new Uint8Array(buffer);
    if (view.getUint16(0, true) !== 0x4d42) throw new Error(`${name} is not a BMP picture`);
    const dataOffset = view.getUint32(10, true);
    const headerSize = view.getUint32(14, true);
    const width = view.getInt32(18, true);
    const storedHeight = view.getInt32(22, true);
    if (view.getUint16(28, true) !== 8 || view.getUint32(30, true) !== 0) {
      throw new Error(`${name} is not an uncompressed 8-bit picture`);
    }
    const height = Math.abs(storedHeight);
    const palette = 14 + headerSize;
    const stride = (width + 3) & ~3;
    const rgba = new Uint8ClampedArray(width * height * 4);
    for (let y = 0; y < height; y++) {
      // Positive heights store the rows bottom up.
      const row = dataOffset + stride * (storedHeight > 0 ? height - 1 - y : y);
      for (let x = 0; x < width; x++) {
        const entry = palette + 4 * bytes[row + x];
        const at = 4 * (y * width + x);
        rgba[at] = bytes[entry + 2];
        rgba[at + 1] = bytes[entry + 1];
        rgba[at + 2] = bytes[entry];
        rgba[at + 3] = 255;
      }
    }
    return { width, height, rgba };
  }

  const pictures = {};
  async function loadPictures() {
    await Promise.all(Object.entries(resources.bitmaps).map(async ([id, file]) => {
      const response = await fetch(file);
      if (!response.ok) throw new Error(`${file}: ${response.status}`);
      pictures[id] = decodeBmp(await response.arrayBuffer(), file);
    }));
  }

  // The board picture's own pixels in a cell's rectangle: bare board.
  function copyBoard(x, y, width, height) {
    const board = pictures[BOARD_PICTURE];
    for (let row = y; row < y + height; row++) {
      const start = 4 * (row * BOARD_WIDTH + x);
      screen.data.set(board.rgba.subarray(start, start + 4 * width), start);
    }
  }

  // A piece or the frame over a cell: every pixel but the key colour, pure
  // green, replaces the one beneath.
  function drawSprite(x, y, picture) {
    const source = picture.rgba;
    const target = screen.data;
    for (let dy = 0; dy < CELL; dy++) {
      for (let dx = 0; dx < CELL; dx++) {
        const s = 4 * (dy * CELL + dx);
        if (source[s] === 0 && source[s + 1] === 255 && source[s + 2] === 0) continue;
        const t = 4 * ((y + dy) * BOARD_WIDTH + x + dx);
        target[t] = source[s];
        target[t + 1] = source[s + 1];
        target[t + 2] = source[s + 2];
        target[t + 3] = 255;
      }
    }
  }

  function drawCell(x, y, piece, framed) {
    if (piece) drawSprite(x, y, pictures[PIECE_PICTURE_BASE + piece]);
    if (framed) drawSprite(x, y, pictures[FRAME_PICTURE]);
  }

  function paintBoard(cells) {
    copyBoard(0, 0, BOARD_WIDTH, BOARD_HEIGHT);
    for (let i = 0; i < cells.length; i += 4) drawCell(cells[i], cells[i + 1], cells[i + 2], cells[i + 3]);
    context.putImageData(screen, 0, 0);
  }

  function paintSquare(x, y, piece, framed) {
    copyBoard(x, y, CELL, CELL);
    drawCell(x, y, piece, framed);
    context.putImageData(screen, 0, 0, x, y, CELL, CELL);
  }

  // -------------------------------------------------------------- sounds ---

  // A browser lets a page make sound only after the player's first press, so
  // the context starts suspended and sounds before that are not heard.
  const AudioContextClass = window.AudioContext || window.webkitAudioContext;
  const audio = AudioContextClass ? new AudioContextClass() : null;
  const sounds = {};
  let playing = null;

  function loadSounds() {
    if (!audio) return;
    for (const [id, file] of Object.entries(resources.sounds)) {
      fetch(file)
        .then((response) => response.arrayBuffer())
        .then((bytes) => audio.decodeAudioData(bytes))
        .then((buffer) => { sounds[id] = buffer; })
        .catch((error) => console.error(`sound ${file}:`, error));
    }
  }

  function wakeAudio() {
    if (audio && audio.state === 'suspended') audio.resume();
  }
  window.addEventListener('pointerdown', wakeAudio, true);
  window.addEventListener('keydown', wakeAudio, true);

  function startSound(makeSource) {
    if (!audio || audio.state !== 'running') return;
    // A new sound cuts the one still playing.
    if (playing) {
      try { playing.stop(); } catch (error) { /* it had ended */ }
    }
    playing = makeSource();
  }

  // id: a WAVE resource id, or 'beep' for the system's message beep.
  function playSound(id) {
    document.dispatchEvent(new CustomEvent('lanterra:sound', { detail: { id } }));
    if (id === 'beep') {
      startSound(() => {
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
    const buffer = sounds[id];
    if (!buffer) return;
    startSound(() => {
      const source = audio.createBufferSource();
      source.buffer = buffer;
      source.connect(audio.destination);
      source.start();
      return source;
    });
  }

  // --------------------------------------------------------------- boxes ---

  const dialog = document.getElementById('box');
  const boxQueue = [];
  let boxShowing = false;

  function iconFile(icon) {
    return resources.icons[icon] || `${icon}.svg`;
  }

  // A modal box; resolves with the button pressed (1 OK, 6 Yes, 7 No).
  function showBox(caption, text, style, icon) {
    return new Promise((resolve) => {
      boxQueue.push({ caption, text, style, icon, resolve });
      if (!boxShowing) nextBox();
    });
  }

  function nextBox() {
    const box = boxQueue.shift();
    if (!box) {
      boxShowing = false;
      return;
    }
    boxShowing = true;
    closeMenus();
    dialog.querySelector('.caption').textContent = box.caption;
    dialog.querySelector('#box-text').textContent = box.text;
    dialog.querySelector('.icon').src = iconFile(box.icon);
    const buttons = dialog.querySelector('.buttons');
    buttons.textContent = '';
    const choices = box.style === BOX_YESNO
      ? [[ANSWER_YES, '是(Y)', 'y'], [ANSWER_NO, '否(N)', 'n']]
      : [[ANSWER_OK, '确定', '']];
    for (const [answer, label, key] of choices) {
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = label;
      button.dataset.answer = String(answer);
      if (key) button.dataset.key = key;
      button.addEventListener('click', () => finish(answer));
      buttons.append(button);
    }
    function finish(answer) {
      dialog.removeEventListener('cancel', cancel);
      dialog.removeEventListener('keydown', keys);
      dialog.close();
      box.resolve(answer);
      nextBox();
    }
    // Escape answers a box with one button; a yes/no box needs a real answer.
    function cancel(event) {
      event.preventDefault();
      if (box.style !== BOX_YESNO) finish(ANSWER_OK);
    }
    function keys(event) {
      const button = buttons.querySelector(`[data-key="${event.key.toLowerCase()}"]`);
      if (button && !event.altKey && !event.ctrlKey && !event.metaKey) button.click();
    }
    dialog.addEventListener('cancel', cancel);
    dialog.addEventListener('keydown', keys);
    dialog.showModal();
    buttons.firstChild.focus();
  }

  // ----------------------------------------------------------- the worker ---

  const worker = new Worker('worker.js');
  let pending = 0;          // messages the worker has not finished yet
  let started = false;
  const links = {};
  const texts = {};

  // <html data-state> tells whether the game is still handling something
  // ('busy') or waits for the player ('ready').
  function send(message) {
    pending += 1;
    document.documentElement.dataset.state = 'busy';
    worker.postMessage(message);
  }

  // The board and the menu take nothing while the worker is still handling
  // something, or while a box is open: as in the window, whose handlers run
  // to the end before the next press is looked at.
  function idle() {
    return started && pending === 0 && !boxShowing;
  }

  const handlers = {
    board: (m) => paintBoard(m.cells),
    square: (m) => paintSquare(m.x, m.y, m.piece, m.framed),
    sound: (m) => playSound(m.id),
    box: (m) => {
      const answer = showBox(gbk.decode(m.caption), gbk.decode(m.text), m.style, m.icon);
      if (m.style === BOX_YESNO) answer.then((value) => send({ type: 'answer', answer: value }));
    },
    undo: (m) => setDisabled(COMMAND.undo, !m.enabled),
    busy: (m) => {
      canvas.classList.toggle('busy', m.busy);
      windowElement.classList.toggle('busy', m.busy);
      canvas.setAttribute('aria-busy', String(m.busy));
    },
    menu: (m) => {
      for (let id = COMMAND.levelFirst; id <= COMMAND.levelLast; id++) {
        setChecked(id, id - COMMAND.levelFirst === m.level);
      }
      setChecked(COMMAND.sound, m.sound);
    },
    link: (m) => { links[m.id] = m.address; },
    text: (m) => { texts[m.name] = gbk.decode(m.bytes); },
    done: () => {
      pending -= 1;
      if (pending === 0) {
        started = true;
        document.documentElement.dataset.state = 'ready';
      }
    },
  };

  const picturesReady = loadPictures();
  loadSounds();
  // Messages are handled in order once the pictures are there.
  worker.onmessage = (event) => {
    picturesReady.then(() => handlers[event.data.type](event.data));
  };
  worker.onerror = (event) => console.error('the game stopped:', event.message);
  picturesReady.catch((error) => console.error('pictures:', error));

  // The seed of the game's one random generator: the time in seconds, as in
  // the program, or ?seed=S to replay or share a game.
  function seed() {
    const text = new URLSearchParams(location.search).get('seed');
    if (text !== null && /^\d{1,10}$/.test(text) && Number(text) <= 0xffffffff) return Number(text);
    return Math.floor(Date.now() / 1000) >>> 0;
  }
  send({ type: 'start', seed: seed() });

  // ---------------------------------------------------------- the board ---

  // A press at a point of the shown board, in board picture pixels however
  // large the canvas is drawn.
  function pressBoard(event) {
    if (!idle()) return;
    const rect = canvas.getBoundingClientRect();
    const x = Math.floor(((event.clientX - rect.left) * BOARD_WIDTH) / rect.width);
    const y = Math.floor(((event.clientY - rect.top) * BOARD_HEIGHT) / rect.height);
    if (x < 0 || y < 0 || x >= BOARD_WIDTH || y >= BOARD_HEIGHT) return;
    send({ type: 'click', x, y });
  }

  // The mouse acts on the button going down, as in the window; a finger acts
  // on a tap, so that a finger dragging to scroll selects nothing.
  let lastPointer = 'mouse';
  canvas.addEventListener('pointerdown', (event) => {
    lastPointer = event.pointerType;
    if (event.pointerType === 'mouse' && event.button === 0) pressBoard(event);
  });
  canvas.addEventListener('click', (event) => {
    if (lastPointer !== 'mouse') pressBoard(event);
  });

  // ------------------------------------------------------------ the menu ---

  const menubar = document.getElementById('menubar');
  const itemOf = (id) => menubar.querySelector(`[data-command="${id}"]`);

  function setChecked(id, checked) {
    const item = itemOf(id);
    if (item) item.setAttribute('aria-checked', String(checked));
  }

  function setDisabled(id, disabled) {
    const item = itemOf(id);
    if (!item) return;
    if (disabled) item.setAttribute('aria-disabled', 'true');
    else item.removeAttribute('aria-disabled');
  }

  function closeMenus() {
    for (const open of menubar.querySelectorAll('.open')) open.classList.remove('open');
    for (const expanded of menubar.querySelectorAll('[aria-expanded="true"]')) {
      expanded.setAttribute('aria-expanded', 'false');
    }
  }

  function openMenu(menu) {
    closeMenus();
    menu.classList.add('open');
    menu.querySelector('.title').setAttribute('aria-expanded', 'true');
  }

  function openSubmenu(item) {
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

  const anyMenuOpen = () => menubar.querySelector('.menu.open') !== null;

  for (const menu of menubar.querySelectorAll('.menu')) {
    const title = menu.querySelector('.title');
    title.addEventListener('click', () => {
      if (menu.classList.contains('open')) closeMenus();
      else if (idle()) openMenu(menu);
    });
    title.addEventListener('pointerenter', () => {
      if (anyMenuOpen() && !menu.classList.contains('open')) openMenu(menu);
    });
  }

  for (const item of menubar.querySelectorAll('.item')) {
    item.addEventListener('pointerenter', (event) => {
      if (event.pointerType !== 'mouse') return;
      item.focus({ preventScroll: true });
      if (item.classList.contains('submenu')) openSubmenu(item);
      else {
        for (const sibling of item.parentElement.querySelectorAll(':scope > .submenu.open')) {
          sibling.classList.remove('open');
          sibling.setAttribute('aria-expanded', 'false');
        }
      }
    });
    item.addEventListener('click', (event) => {
      event.stopPropagation();
      choose(item);
    });
  }

  function choose(item) {
    if (item.getAttribute('aria-disabled') === 'true') return;
    // A submenu opens on a click as on hovering, and stays open.
    if (item.classList.contains('submenu')) {
      openSubmenu(item);
      return;
    }
    closeMenus();
    runCommand(Number(item.dataset.command));
  }

  // A click anywhere else closes the menu, as in the window.
  document.addEventListener('pointerdown', (event) => {
    if (!menubar.contains(event.target)) closeMenus();
  });

  // Keys: Alt with a menu's letter opens it; in an open menu, an item's
  // letter chooses it, the arrows move, Enter chooses and Escape closes.
  document.addEventListener('keydown', (event) => {
    if (boxShowing) return;
    const key = event.key.toLowerCase();
    if (event.altKey && !anyMenuOpen()) {
      const title = menubar.querySelector(`.title[data-key="${key}"]`);
      if (title && idle()) {
        event.preventDefault();
        openMenu(title.parentElement);
        firstItem(title.parentElement.querySelector('.popup')).focus();
      }
      return;
    }
    if (!anyMenuOpen()) return;
    const focused = document.activeElement;
    const list = focused && focused.classList.contains('item')
      ? focused.parentElement
      : menubar.querySelector('.menu.open > .popup');
    const items = [...list.children].filter((li) => li.classList.contains('item'));
    const at = items.indexOf(focused);
    if (key === 'escape') {
      closeMenus();
    } else if (key === 'arrowdown' || key === 'arrowup') {
      const step = key === 'arrowdown' ? 1 : -1;
      items[(at + step + items.length) % items.length].focus();
    } else if (key === 'arrowright' && focused && focused.classList.contains('submenu')) {
      openSubmenu(focused);
      firstItem(focused.querySelector('.popup')).focus();
    } else if (key === 'arrowleft' && list.parentElement.classList.contains('submenu')) {
      list.parentElement.classList.remove('open');
      list.parentElement.focus();
    } else if (key === 'enter' && at >= 0) {
      choose(focused);
    } else {
      const match = items.find((li) => li.dataset.key === key);
      if (!match) return;
      if (match.classList.contains('submenu')) {
        openSubmenu(match);
        firstItem(match.querySelector('.popup')).focus();
      } else {
        choose(match);
      }
    }
    event.preventDefault();
  });

  function firstItem(list) {
    return list.querySelector(':scope > .item');
  }

  // Web pages open in a new tab and the clipboard is written here, while the
  // browser still counts the choice as the player's own act.
  function runCommand(id) {
    if (!idle()) return;
    if (links[id]) {
      window.open(links[id], '_blank', 'noopener');
    } else if (id === COMMAND.copy) {
      copyRecommendation();
    } else {
      send({ type: 'command', id });
    }
  }

  async function copyRecommendation() {
    const caption = texts.recommendCaption;
    try {
      if (!navigator.clipboard || !navigator.clipboard.writeText) throw new Error('no clipboard');
      await navigator.clipboard.writeText(texts.recommendation);
    } catch (error) {
      await showBox(caption, texts.clipboardUnavailable, 0, 'warning');
      return;
    }
    await showBox(caption, texts.copied, 0, 'information');
  }
})();
