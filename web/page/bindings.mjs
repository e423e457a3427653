// The player's own keys: each of the Rebel's moves and shots and the
// Emperor's upward shot may be given another key (by its place on the
// keyboard, KeyboardEvent.code). Actions left alone keep the desktop's keys,
// keypad and Num Lock included; an action given its own key no longer
// answers to its default keys. A key that already serves another action is
// refused, and so are the keys the page itself needs.
import { GameKey as K, NONE, toGameKey } from './keys.mjs';

// Czech texts; the page translates them when it shows them.
export const ACTIONS = [
  { key: K.UpLeft, name: 'Vlevo nahoru', defaults: 'Home, num 7' },
  { key: K.Up, name: 'Nahoru', defaults: 'sipka nahoru, num 8' },
  { key: K.UpRight, name: 'Vpravo nahoru', defaults: 'num 9' },
  { key: K.Left, name: 'Vlevo', defaults: 'sipka vlevo, num 4' },
  { key: K.Stop, name: 'Stat', defaults: 'Insert, num 0' },
  { key: K.Right, name: 'Vpravo', defaults: 'sipka vpravo, num 6' },
  { key: K.DownLeft, name: 'Vlevo dolu', defaults: 'End, num 1' },
  { key: K.Down, name: 'Dolu', defaults: 'sipka dolu, num 2' },
  { key: K.DownRight, name: 'Vpravo dolu', defaults: 'num 3' },
  { key: K.Space, name: 'Strela dopredu', defaults: 'mezernik' },
  { key: K.X, name: 'Strela dolu', defaults: 'X' },
  { key: K.C, name: 'Strela nahoru', defaults: 'C' },
  { key: K.Enter, name: 'Strela nahoru (imperator)', defaults: 'Enter' },
];
const ACTION_KEYS = new Set(ACTIONS.map((a) => a.key));

// Keys the page keeps: Esc closes and cancels, Tab moves the focus, P and
// Pause pause; keys that only modify others are no keys of their own.
const RESERVED = new Set(['Escape', 'Tab', 'KeyP', 'Pause']);
const MODIFIERS = new Set(['Shift', 'Control', 'Alt', 'AltGraph', 'Meta', 'CapsLock', 'NumLock',
  'ScrollLock', 'ContextMenu', 'OS', 'Fn']);

const NAMES = new Map([
  [' ', 'mezernik'], ['ArrowUp', 'sipka nahoru'], ['ArrowDown', 'sipka dolu'],
  ['ArrowLeft', 'sipka vlevo'], ['ArrowRight', 'sipka vpravo'],
]);
const KEYPAD_LOCATION = 3;

// A key as people name it ("W", "sipka nahoru", "num 5"); `translate`
// gives the names of the keys that have Czech ones in the page's language.
export function keyName({ key, location = 0 }, translate = (text) => text) {
  const named = NAMES.get(key);
  const name = named ? translate(named) : (key.length === 1 ? key.toUpperCase() : key);
  return location === KEYPAD_LOCATION ? `num ${name}` : name;
}

export function actionName(gameKey) {
  return ACTIONS.find((a) => a.key === gameKey)?.name ?? '';
}

export class KeyBindings {
  // custom: { [gameKey]: { code, key, location } }
  constructor(custom = {}) {
    this.custom = {};
    for (const [action, bound] of Object.entries(custom)) {
      const gameKey = Number(action);
      if (ACTION_KEYS.has(gameKey) && typeof bound?.code === 'string' && bound.code &&
          typeof bound.key === 'string' && !RESERVED.has(bound.code)) {
        this.custom[gameKey] = { code: bound.code, key: bound.key,
                                 location: Number(bound.location) || 0 };
      }
    }
  }

  // Stored text (JSON) as bindings; anything unreadable gives the defaults.
  static parse(text) {
    try {
      const value = JSON.parse(text ?? '{}');
      return new KeyBindings(value && typeof value === 'object' ? value : {});
    } catch {
      return new KeyBindings();
    }
  }

  serialize() {
    return JSON.stringify(this.custom);
  }

  isDefault() {
    return Object.keys(this.custom).length === 0;
  }

  reset() {
    this.custom = {};
  }

  // The game key a key press gives, or NONE.
  gameKey(event) {
    if (event.altKey) return NONE;
    for (const [action, bound] of Object.entries(this.custom)) {
      if (bound.code === event.code) return Number(action);
    }
    const fallback = toGameKey(event);
    return this.custom[fallback] ? NONE : fallback;
  }

  // Gives `gameKey` the pressed key. Returns null when done, otherwise why
  // not as { text, key, action } (Czech; key and action fill its {0} and {1}).
  assign(gameKey, event, translate = (text) => text) {
    if (!ACTION_KEYS.has(gameKey)) return { text: 'Neznama akce.' };
    if (event.altKey || event.ctrlKey || event.metaKey || MODIFIERS.has(event.key) ||
        RESERVED.has(event.code) || !event.code) {
      return { text: 'Klavesu {0} nelze priradit: patri strance.', key: keyName(event, translate) };
    }
    for (const [action, bound] of Object.entries(this.custom)) {
      if (bound.code === event.code && Number(action) !== gameKey) {
        return { text: 'Klavesa {0} uz slouzi pro: {1}.', key: keyName(event, translate),
                 action: actionName(Number(action)) };
      }
    }
    const fallback = toGameKey(event);
    if (fallback !== NONE && fallback !== gameKey && !this.custom[fallback]) {
      return { text: 'Klavesa {0} uz slouzi pro: {1}.', key: keyName(event, translate),
               action: actionName(fallback) };
    }
    this.custom[gameKey] = { code: event.code, key: event.key, location: event.location ?? 0 };
    return null;
  }

  // An action's own key for people, or null while it has the defaults.
  label(gameKey, translate) {
    const bound = this.custom[gameKey];
    return bound ? keyName(bound, translate) : null;
  }
}
