// The page's language: Czech (the game's own texts, exactly as they are) for
// Czech and Slovak browsers, English for the rest; "Jazyk / Language" in the
// menu overrides it and is kept. The English texts come from the Qt Linguist
// files in i18n/ (strings.mjs is generated from them at build time), looked
// up by their Czech source text; a text without a translation stays Czech.
import { readSetting, writeSetting } from './settings.mjs';
import { ENGLISH } from './strings.mjs';
import { chooseLanguage, translate, translateGameText } from './translate.mjs';

export { chooseLanguage };

const STORED = 'quarnex.Jazyk';
let current = 'cs';

export function language() {
  return current;
}

export function startLanguage() {
  current = chooseLanguage(readSetting(STORED), navigator.languages ?? [navigator.language]);
  return current;
}

export function setLanguage(lang) {
  current = lang === 'en' ? 'en' : 'cs';
  writeSetting(STORED, current);
}

export function tr(czech) {
  return translate(czech, ENGLISH, current);
}

export function trGameText(text) {
  return translateGameText(text, ENGLISH, current);
}

// "&Hra" as the element's text with the letter after & underlined; returns
// that letter in lower case (the access key), or ''.
export function renderLabel(element, label) {
  const at = label.indexOf('&');
  element.textContent = '';
  if (at < 0 || at + 1 >= label.length) {
    element.textContent = label.replace('&', '');
    return '';
  }
  const letter = document.createElement('u');
  letter.textContent = label[at + 1];
  element.append(label.slice(0, at), letter, label.slice(at + 2));
  return label[at + 1].toLowerCase();
}

// Puts the chosen language's texts into the page: [data-tr] elements by
// their Czech text, [data-tr-label] as their accessible names, [data-label]
// menu entries with their access keys.
export function translatePage(root) {
  document.documentElement.lang = current;
  for (const element of root.querySelectorAll('[data-tr]')) {
    element.dataset.tr ||= element.textContent;
    element.textContent = tr(element.dataset.tr);
  }
  for (const element of root.querySelectorAll('[data-tr-label]')) {
    element.setAttribute('aria-label', tr(element.dataset.trLabel));
  }
  for (const element of root.querySelectorAll('[data-label]')) {
    const key = renderLabel(element, tr(element.dataset.label));
    element.dataset.accessKey = key;
    if (element.classList.contains('title')) {
      element.setAttribute('aria-keyshortcuts', key ? `Alt+${key.toUpperCase()}` : '');
    }
  }
}
