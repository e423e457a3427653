// The pause: P, Pause, the "Pauza" menu item or a pad's Start stop the
// game's ticks and start them again. A local game also stops while its tab
// is hidden (browsers then run the tick about once a second) and, when the
// player comes back, stays paused with a word saying why until resumed.
import { tr } from './language.mjs';

const PLAYER_NOTE = 'Pauza - pokracujte klavesou P nebo klepnutim sem';
const HIDDEN_NOTE = 'Hra stala, dokud karta nebyla videt. Pokracujte klavesou P nebo klepnutim sem.';

export class Pause {
  // note: the <button> over the scene; mayPause(): the game runs now (no
  // dialog open, its timer on); onChange(paused) after every change.
  constructor(note, mayPause, onChange) {
    this.note = note;
    this.mayPause = mayPause;
    this.onChange = onChange;
    this.paused = false;
    this.why = null;
    note.addEventListener('click', () => {
      this.set(false);
      note.blur();  // the keys go back to the scene
    });
  }

  toggle() {
    this.set(!this.paused);
  }

  // why: 'player' or 'hidden'.
  set(on, why = 'player') {
    if (on && (this.paused || !this.mayPause())) return;
    if (!on && !this.paused) return;
    this.paused = on;
    this.why = on ? why : null;
    this.show();
    this.onChange(on);
  }

  // The note's text in the page's language now.
  show() {
    this.note.hidden = !this.paused;
    if (this.paused) this.note.textContent = tr(this.why === 'hidden' ? HIDDEN_NOTE : PLAYER_NOTE);
  }

  watchVisibility(document) {
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden') this.set(true, 'hidden');
    });
  }
}
