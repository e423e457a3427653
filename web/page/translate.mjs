// Looking texts up in a language's table (pure, so Node's tests use it too).

// 'cs' or 'en' for a stored choice and the browser's languages, best first:
// Czech for Czech and Slovak, English for the rest.
export function chooseLanguage(stored, languages) {
  if (stored === 'cs' || stored === 'en') return stored;
  const first = String(languages?.[0] ?? '');
  return /^(cs|sk)\b/i.test(first) ? 'cs' : 'en';
}

// The text in `lang`: Czech as it is, English from `table` by its Czech
// source, or the Czech where the table has no translation.
export function translate(czech, table, lang) {
  return lang === 'en' ? (table[czech] ?? czech) : czech;
}

// A text from the game core (the end-of-game box), line by line; the core's
// lines carry spaces at their ends that the lookup ignores.
export function translateGameText(text, table, lang) {
  return text.split('\n').map((line) => {
    const translated = translate(line.trim(), table, lang);
    return translated === line.trim() ? line : translated;
  }).join('\n');
}
