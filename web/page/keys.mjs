// The desktop's key table for the browser: a key press as the Windows
// virtual-key code the game's keyboard handler understands, or 0 for keys it
// does not know. Both Enter keys give 13; the keypad digits (Num Lock on)
// give 96..105; with Num Lock off the keypad sends the navigation keys, which
// map like the main ones. Keys held with Alt belong to the browser.

export const NONE = 0;

// Keys named by KeyboardEvent.key.
const NAMED_KEYS = new Map([
  ['Backspace', 8], ['Tab', 9], ['Clear', 12], ['Enter', 13], ['Shift', 16], ['Control', 17],
  ['Pause', 19], ['CapsLock', 20], ['Escape', 27], [' ', 32], ['PageUp', 33], ['PageDown', 34],
  ['End', 35], ['Home', 36], ['ArrowLeft', 37], ['ArrowUp', 38], ['ArrowRight', 39],
  ['ArrowDown', 40], ['PrintScreen', 44], ['Insert', 45], ['Delete', 46], ['NumLock', 144],
  ['ScrollLock', 145],
]);

// Keypad keys other than the digits and the navigation keys.
const KEYPAD_OPERATORS = new Map([
  ['*', 106], ['+', 107], ['-', 109], ['.', 110], [',', 110], ['/', 111], ['Enter', 13],
]);

const KEYPAD_LOCATION = 3;  // KeyboardEvent.DOM_KEY_LOCATION_NUMPAD

export function toVirtualKey({ key, location = 0, altKey = false }) {
  if (altKey || typeof key !== 'string') return NONE;
  if (location === KEYPAD_LOCATION) return keypadKey(key);
  return mainKey(key);
}

function keypadKey(key) {
  if (/^[0-9]$/.test(key)) return 96 + Number(key);
  return KEYPAD_OPERATORS.get(key) ?? mainKey(key);
}

function mainKey(key) {
  // Letters and digits carry their upper-case character codes.
  if (/^[a-zA-Z0-9]$/.test(key)) return key.toUpperCase().charCodeAt(0);
  const f = /^F([1-9]|1[0-9]|2[0-4])$/.exec(key);
  if (f) return 111 + Number(f[1]);
  return NAMED_KEYS.get(key) ?? NONE;
}

// The keys the game acts on; the page keeps the browser from also scrolling
// or typing with them.
const GAME_KEYS = new Set([13, 32, 33, 34, 35, 36, 37, 38, 39, 40, 45, 67, 88,
  96, 97, 98, 99, 100, 101, 102, 103, 104, 105]);

export function isGameKey(virtualKey) {
  return GAME_KEYS.has(virtualKey);
}
