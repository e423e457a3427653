// Who plays each side, kept in the browser's localStorage under the
// desktop's names ("1": the computer plays that side). Storage that cannot be
// used (private modes, blocked cookies) is left alone: the game goes on.
const EMPEROR_KEY = 'quarnex.Hra.PL1';
const REBEL_KEY = 'quarnex.Hra.PL2';

function storage() {
  try {
    return window.localStorage;
  } catch {
    return null;
  }
}

export function readPlayers() {
  const store = storage();
  const computer = (key) => {
    try {
      return store?.getItem(key)?.trim() === '1';
    } catch {
      return false;
    }
  };
  return { emperorComputer: computer(EMPEROR_KEY), rebelComputer: computer(REBEL_KEY) };
}

export function writePlayers({ emperorComputer, rebelComputer }) {
  const store = storage();
  try {
    store?.setItem(EMPEROR_KEY, emperorComputer ? '1' : '0');
    store?.setItem(REBEL_KEY, rebelComputer ? '1' : '0');
    return true;
  } catch {
    return false;
  }
}
