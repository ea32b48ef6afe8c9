// The menu's commands. The web pages and the clipboard are the page's own:
// a browser opens a tab or writes the clipboard only while it handles the
// player's click, so they are carried out here, with the addresses and
// texts the game sent at start-up; every other command goes to the game.
import { IDC_COPY_RECOMMENDATION, MB_OK } from './ids.js';

export class PageCommands {
  // send(message): to the game; boxes: the message boxes.
  constructor(send, boxes) {
    this.send = send;
    this.boxes = boxes;
    this.links = {};
    this.texts = {};
  }

  setLink(id, address) {
    this.links[id] = address;
  }

  setText(name, text) {
    this.texts[name] = text;
  }

  run(id) {
    if (this.links[id]) {
      window.open(this.links[id], '_blank', 'noopener');
    } else if (id === IDC_COPY_RECOMMENDATION) {
      this.copyRecommendation();
    } else {
      this.send({ type: 'command', id });
    }
  }

  async copyRecommendation() {
    const caption = this.texts.recommendCaption;
    try {
      if (!navigator.clipboard || !navigator.clipboard.writeText) throw new Error('no clipboard');
      await navigator.clipboard.writeText(this.texts.recommendation);
    } catch (error) {
      await this.boxes.show(caption, this.texts.clipboardUnavailable, MB_OK, 'warning');
      return;
    }
    await this.boxes.show(caption, this.texts.copied, MB_OK, 'information');
  }
}
