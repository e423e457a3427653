// What the page keeps between visits, in the browser's localStorage under
// the desktop's names where it has them ("1": the computer plays that side;
// "Vzhled.skore": the score in the title). Storage that cannot be used
// (private modes, blocked cookies) is left alone: the game goes on.
const EMPEROR_KEY = 'quarnex.Hra.PL1';
const REBEL_KEY = 'quarnex.Hra.PL2';

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
  try {
    if (value === null) store?.removeItem(key);
    else store?.setItem(key, String(value));
    return Boolean(store);
  } catch {
    return false;
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
