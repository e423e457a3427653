// The desktop's key table for the browser: a key press as the game's own key
// (the numbers of qx::GameKey, which web/WebMain.cpp checks), or NONE. Both
// Enter keys give Enter; the keypad digits (Num Lock on) steer like the
// arrows, Home, End and Insert; with Num Lock off the keypad sends those
// navigation keys itself (its 9, 3 and 5 then send Page Up, Page Down and
// Clear, which the game ignores). Keys held with Alt belong to the browser.

export const GameKey = Object.freeze({
  None: 0, Space: 1, X: 2, C: 3, Enter: 4, UpLeft: 5, Up: 6, UpRight: 7, Left: 8, Stop: 9,
  Right: 10, DownLeft: 11, Down: 12, DownRight: 13,
});
export const NONE = GameKey.None;

// Keys of the main block, by KeyboardEvent.key.
const MAIN_KEYS = new Map([
  ['Enter', GameKey.Enter], [' ', GameKey.Space], ['x', GameKey.X], ['X', GameKey.X],
  ['c', GameKey.C], ['C', GameKey.C], ['Home', GameKey.UpLeft], ['ArrowUp', GameKey.Up],
  ['ArrowLeft', GameKey.Left], ['Insert', GameKey.Stop], ['ArrowRight', GameKey.Right],
  ['End', GameKey.DownLeft], ['ArrowDown', GameKey.Down],
]);

// The keypad digits laid out as the directions they steer to.
const KEYPAD_DIGITS = [GameKey.Stop, GameKey.DownLeft, GameKey.Down, GameKey.DownRight,
  GameKey.Left, GameKey.None, GameKey.Right, GameKey.UpLeft, GameKey.Up, GameKey.UpRight];

const KEYPAD_LOCATION = 3;  // KeyboardEvent.DOM_KEY_LOCATION_NUMPAD

export function toGameKey({ key, location = 0, altKey = false }) {
  if (altKey || typeof key !== 'string') return NONE;
  if (location === KEYPAD_LOCATION && /^[0-9]$/.test(key)) return KEYPAD_DIGITS[Number(key)];
  return MAIN_KEYS.get(key) ?? NONE;
}
