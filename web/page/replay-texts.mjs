// The replays' texts (pure, so Node's tests use them too): the messages
// for a file the game refuses, as the desktop words them, and the name a
// saved replay gets.

export const PLAY_CAPTION = 'Prehrat zaznam';
const CANNOT_PLAY = 'Zaznam nelze prehrat.';

// The reasons by the game's ReplayError::Code (its order), in Czech; %1 is
// the line or the tick.
export const REASONS = [
  null,
  ['Soubor nelze otevrit ani precist.'],
  ['Soubor je prilis velky na zaznam hry.'],
  ['Soubor neni zaznam hry Quarnex.'],
  ['Zaznam je v jine verzi, kterou tato hra neumi prehrat.'],
  ['Zaznam je neuplny, soubor je zkraceny.'],
  ['Zaznam je poskozeny (radek %1).', 'line'],
  ['Zaznam obsahuje cislo mimo povoleny rozsah (radek %1).', 'line'],
  ['Zaznam je delsi, nez hra dovoluje (radek %1).', 'line'],
  ['Zaznam neodpovida prubehu hry (krok %1).', 'tick'],
  ['Kontrolni soucet nesouhlasi: hra by skoncila jinak, nez byla zaznamenana.'],
  ['Zaznam je poskozeny: hra se od nej odchyluje v kroku %1.', 'tick'],
];
export const CODE = { CannotOpen: 1, TooLarge: 2 };

// The message for a refused replay ({ code, line, tick }); `translate`
// gives the page's language.
export function refusalText(refusal, translate = (text) => text) {
  const [text, field] = REASONS[refusal.code] ?? REASONS[CODE.CannotOpen];
  const reason = translate(text).replace('%1', field ? String(refusal[field]) : '');
  return `${translate(CANNOT_PLAY)}\n\n${reason}`;
}

// The file name the desktop offers: quarnex-YYYYMMDD-HHMM.qxr, local time.
export function replayFileName(date) {
  const two = (n) => String(n).padStart(2, '0');
  return `quarnex-${date.getFullYear()}${two(date.getMonth() + 1)}${two(date.getDate())}-` +
         `${two(date.getHours())}${two(date.getMinutes())}.qxr`;
}
