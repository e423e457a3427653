// What the page keeps between visits, in the browser's localStorage under
// the desktop's names where it has them ("1": the computer plays that side;
// "Vzhled.skore": the score in the title). Storage that cannot be used
// (full, private modes, blocked cookies) is left alone: the game goes on,
// and the first write it refuses is told to `whenNotKept`'s listener, once.
const EMPEROR_KEY = 'quarnex.Hra.PL1';
const REBEL_KEY = 'quarnex.Hra.PL2';

let notKept = () => {};
let told = false;

// notice() runs the first time a setting cannot be kept (once a page load).
export function whenNotKept(notice) {
  notKept = notice;
}

function refused() {
  if (told) return false;
  told = true;
  notKept();
  return false;
}

function storage() {
  try {
    return window.localStorage;
  } catch {
    return null;
  }
}

// The stored text under `key`, or null.
export function readSetting(key) {
  try {
    return storage()?.getItem(key) ?? null;
  } catch {
    return null;
  }
}

// Returns whether it was kept.
export function writeSetting(key, value) {
  const store = storage();
  if (!store) return refused();
  try {
    if (value === null) store.removeItem(key);
    else store.setItem(key, String(value));
    return true;
  } catch {
    return refused();
  }
}

export function readFlag(key) {
  return readSetting(key)?.trim() === '1';
}

export function writeFlag(key, on) {
  return writeSetting(key, on ? '1' : '0');
}

export function readPlayers() {
  return { emperorComputer: readFlag(EMPEROR_KEY), rebelComputer: readFlag(REBEL_KEY) };
}

export function writePlayers({ emperorComputer, rebelComputer }) {
  return writeFlag(EMPEROR_KEY, emperorComputer) && writeFlag(REBEL_KEY, rebelComputer);
}
