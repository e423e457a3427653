// The controls page ("Napoveda" > "Ovladani"): what each side does with
// what, as on the desktop, and the player's own keys: a click on an action
// (or Enter on it) waits for the key to give it; Esc gives up waiting;
// "Vychozi" brings the desktop's keys back. Every change is kept at once.
import { ACTIONS } from './bindings.mjs';
import { GameKey } from './keys.mjs';
import { tr } from './language.mjs';

// The desktop's table; the rows marked `keys` describe the default keys and
// say so only while no own key is set.
const ROWS = [
  ['', 'Imperator (bila lod)', 'Povstalec (cervena lod)'],
  ['Rizeni', 'mys: lod leti k ukazateli', 'sipky, Home, End, Insert (stat)', 'keys'],
  ['', '', 'numericka klavesnice 1-4, 6-9, 0 (stat)', 'keys'],
  ['Strela dopredu', 'leve tlacitko mysi', 'mezernik', 'keys'],
  ['Strela dolu', 'prave nebo prostredni tlacitko', 'X', 'keys'],
  ['Strela nahoru', 'Enter', 'C', 'keys'],
  ['Gamepad', 'leva packa miri', 'leva packa nebo krizovy ovladac'],
  ['', 'RT nebo RB / A: dopredu', 'A: dopredu, Y: stat'],
  ['', 'LT / B: dolu, LB / X: nahoru', 'B: dolu, X: nahoru'],
  ['Dotyk', 'prst: lod leti k prstu, klepnuti: dopredu', 'tlacitka na obrazovce (Hra > Dotykove ovladani povstalce)'],
];
const OWN_KEYS = 'vlastni klavesy (nize)';

// An action's button shows its keys; a screen reader hears the action too.
function showKeys(button, keys) {
  button.textContent = keys;
  button.setAttribute('aria-label', `${button.dataset.name}: ${keys}`);
}

export class ControlsPage {
  // bindings: KeyBindings; save() keeps them.
  constructor(dialog, bindings, save) {
    this.dialog = dialog;
    this.bindings = bindings;
    this.save = save;
    this.waiting = null;  // the action button waiting for its key
    this.note = dialog.querySelector('.binding-note');
    dialog.querySelector('.defaults').addEventListener('click', () => {
      this.bindings.reset();
      this.save();
      this.say('');
      this.render();
    });
  }

  // Takes the keys while an action waits for one; returns whether it did.
  key(event) {
    if (!this.waiting || event.type !== 'keydown') return false;
    event.preventDefault();
    event.stopPropagation();
    if (event.key === 'Escape') {
      this.stopWaiting();
      return true;
    }
    const refused = this.bindings.assign(Number(this.waiting.dataset.action), event, tr);
    if (refused) {
      this.say(tr(refused.text).replace('{0}', refused.key ?? '')
        .replace('{1}', tr(refused.action ?? '')));
      return true;
    }
    this.save();
    this.say('');
    this.stopWaiting();
    return true;
  }

  stopWaiting() {
    const button = this.waiting;
    this.waiting = null;
    this.render();
    this.dialog.querySelector(`[data-action="${button?.dataset.action}"]`)?.focus();
  }

  say(text) {
    this.note.textContent = text;
  }

  render() {
    this.waiting = null;
    this.renderTable();
    const directions = this.dialog.querySelector('.bindings .directions');
    const shots = this.dialog.querySelector('.bindings .shots');
    directions.textContent = '';
    shots.textContent = '';
    // The Rebel's moves laid out as the directions they steer to, the shots
    // beside them by name.
    for (const action of ACTIONS) {
      const button = document.createElement('button');
      button.type = 'button';
      button.dataset.action = action.key;
      const keys = this.bindings.label(action.key, tr) ?? tr(action.defaults);
      button.dataset.name = tr(action.name);
      showKeys(button, keys);
      button.addEventListener('click', () => this.wait(button));
      if (action.key >= GameKey.UpLeft) {
        button.title = button.dataset.name;
        directions.append(button);
      } else {
        const row = document.createElement('label');
        row.className = 'binding';
        row.append(tr(action.name), button);
        shots.append(row);
      }
    }
  }

  wait(button) {
    if (this.waiting) this.waiting.classList.remove('waiting');
    this.waiting = button;
    button.classList.add('waiting');
    showKeys(button, tr('stisknete klavesu...'));
    this.say('');
  }

  renderTable() {
    const body = this.dialog.querySelector('#controls-text tbody');
    body.textContent = '';
    const own = !this.bindings.isDefault();
    ROWS.forEach(([what, emperor, rebel, keys], index) => {
      const row = document.createElement('tr');
      const texts = [what, emperor, own && keys ? OWN_KEYS : rebel].map((text) => tr(text));
      if (own && keys && index === 2) texts[2] = '';
      const upward = this.bindings.label(GameKey.Enter, tr);
      if (index === 5 && upward) texts[1] = upward;
      texts.forEach((text, column) => {
        const cell = document.createElement(index === 0 || column === 0 ? 'th' : 'td');
        cell.textContent = text;
        row.append(cell);
      });
      body.append(row);
    });
  }
}
