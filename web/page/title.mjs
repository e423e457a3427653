// The page's title, in the tab and at the right of the menu bar, as the
// desktop's window title: "Quarnex 2.00", the score when "Zobrazit skore"
// is on (held at the final score while the end-of-game box is open), the
// pause, a replay playing, and a network game (the side, or that it waits).
import { tr } from './language.mjs';

export class PageTitle {
  // line: the menu bar's element; wins(): the game's { emperor, rebel }.
  constructor(document, line, wins) {
    this.document = document;
    this.line = line;
    this.wins = wins;
    this.showScore = false;
    this.paused = false;
    this.replaying = false;
    this.network = '';
    this.held = null;
  }

  // Keeps the score shown as it is now until release().
  hold() {
    this.held = this.wins();
    this.update();
  }

  release() {
    this.held = null;
    this.update();
  }

  update() {
    let title = 'Quarnex 2.00';
    if (this.showScore) {
      const { emperor, rebel } = this.held ?? this.wins();
      title += ` - ${emperor} : ${rebel}`;
    }
    if (this.paused) title += ` - ${tr('pauza')}`;
    if (this.replaying) title += ` - ${tr('prehravani zaznamu')}`;
    if (this.network) title += ` - ${this.network}`;
    if (this.document.title !== title) this.document.title = title;
    if (this.line.textContent !== title) this.line.textContent = title;
  }
}
