// The page's own modules under Node: the player's keys, the English table
// generated from the Linguist files, the icons drawn from the game's art.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { KeyBindings } from '../../web/page/bindings.mjs';
import { GameKey as K, NONE } from '../../web/page/keys.mjs';
import { REASONS, refusalText, replayFileName } from '../../web/page/replay-texts.mjs';
import { chooseLanguage, translateGameText } from '../../web/page/translate.mjs';
import { cutOut, decodeBmp, encodePng, place } from '../../web/tools/make-icons.mjs';
import { decodePng } from './png.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const press = (code, key, location = 0, extra = {}) => ({ code, key, location, ...extra });

test('own keys: assigned, refused when in use or the page\'s, kept, reset', () => {
  const keys = new KeyBindings();
  assert.equal(keys.assign(K.Up, press('KeyW', 'w')), null);
  assert.equal(keys.gameKey(press('KeyW', 'w')), K.Up);
  assert.equal(keys.gameKey(press('ArrowUp', 'ArrowUp')), NONE);  // its default no longer acts
  assert.equal(keys.gameKey(press('Numpad8', '8', 3)), NONE);
  assert.equal(keys.gameKey(press('Numpad7', 'Home', 3)), K.UpLeft);  // Num Lock off, a default
  // A key that serves another action, default or own, and the page's keys.
  assert.match(keys.assign(K.Left, press('KeyX', 'x')).text, /uz slouzi/);
  assert.equal(keys.assign(K.Left, press('KeyX', 'x')).action, 'Strela dolu');
  assert.equal(keys.assign(K.Space, press('KeyW', 'w')).action, 'Nahoru');
  for (const page of [press('KeyP', 'p'), press('Escape', 'Escape'), press('Tab', 'Tab'),
    press('ShiftLeft', 'Shift'), press('KeyA', 'a', 0, { altKey: true })]) {
    assert.match(keys.assign(K.Space, page).text, /nelze priradit/, page.code);
  }
  // An action's own default key back, and a freed default key for another.
  assert.equal(keys.assign(K.Down, press('ArrowUp', 'ArrowUp')), null);
  assert.equal(keys.gameKey(press('ArrowUp', 'ArrowUp')), K.Down);
  const again = KeyBindings.parse(keys.serialize());
  assert.equal(again.gameKey(press('KeyW', 'w')), K.Up);
  assert.equal(again.label(K.Down), 'sipka nahoru');
  again.reset();
  assert.ok(again.isDefault());
  assert.equal(again.gameKey(press('ArrowUp', 'ArrowUp')), K.Up);
});

test('stored keys that make no sense give the defaults', () => {
  for (const text of [null, '', 'garbage', '[1,2]', '{"6":{"code":"KeyP","key":"p"}}',
    '{"99":{"code":"KeyW","key":"w"}}', '{"6":{"code":5}}', 'null']) {
    const keys = KeyBindings.parse(text);
    assert.ok(keys.isDefault(), String(text));
    assert.equal(keys.gameKey(press('ArrowUp', 'ArrowUp')), K.Up);
  }
});

test('the language: Czech for Czech and Slovak browsers, English otherwise, a choice wins', () => {
  assert.equal(chooseLanguage(null, ['cs-CZ', 'en']), 'cs');
  assert.equal(chooseLanguage(null, ['sk']), 'cs');
  assert.equal(chooseLanguage(null, ['en-US', 'cs']), 'en');
  assert.equal(chooseLanguage(null, ['de-DE']), 'en');
  assert.equal(chooseLanguage(null, []), 'en');
  assert.equal(chooseLanguage('cs', ['en-US']), 'cs');
  assert.equal(chooseLanguage('en', ['cs-CZ']), 'en');
  assert.equal(chooseLanguage('xx', ['cs-CZ']), 'cs');
});

test('the English table is generated from i18n/*.ts; untranslated texts stay Czech; ' +
     'one text has one wording', async () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quarnex-strings-'));
  const build = (messages) => {
    const extra = path.join(dir, 'other_en.ts');
    fs.writeFileSync(extra, `<?xml version="1.0" encoding="utf-8"?><!DOCTYPE TS>
<TS version="2.1" language="en"><context><name>X</name>${messages}</context></TS>`);
    execFileSync('python3', [path.join(root, 'web/tools/make-strings.py'),
      path.join(dir, 'strings.mjs'), path.join(root, 'i18n/page_en.ts'), extra], { stdio: 'pipe' });
  };
  // The same source worded two ways, or two sources worded one way (accelerators
  // aside), stop the build and name the text and both files.
  for (const [messages, said] of [
    ['<message><source>Nova hra</source><translation>Something else</translation></message>',
     /'Nova hra' is translated two ways: 'New game' \(.*page_en\.ts\); 'Something else' \(.*other_en\.ts\)/],
    ['<message><source>Zcela jina hra</source><translation>&amp;New game</translation></message>',
     /'New game' translates different source texts/]]) {
    assert.throws(() => build(messages), (error) => said.test(String(error.stderr)));
  }
  build(`<message><source>Nova hra</source><translation>New game</translation></message>
<message><source>Jen cesky</source><translation type="unfinished"></translation></message>
<message><source>Stare</source><translation type="vanished">Old</translation></message>
<message><source>Nove</source><translation>New one</translation></message>`);
  const { ENGLISH } = await import(pathToFileURL(path.join(dir, 'strings.mjs')).href);
  assert.equal(ENGLISH['Nova hra'], 'New game');
  assert.equal(ENGLISH.Nove, 'New one');
  assert.equal(ENGLISH['Jen cesky'], undefined);
  assert.equal(ENGLISH.Stare, undefined);
  // The game's end-of-game text, as the core writes it, line by line.
  const text = 'Je konec imperatora! \n Vudce povstalcu Keldor se dostava do cela nove vlady a ' +
    'nici posledni zbytky privrzencu imperatora... ';
  assert.equal(translateGameText(text, ENGLISH, 'cs'), text);
  assert.equal(translateGameText(text, ENGLISH, 'en'), 'The Emperor is finished!\nKeldor, the ' +
    'rebels\' leader, comes to head the new government and destroys the last of the Emperor\'s ' +
    'followers...');
  assert.equal(translateGameText('Nic\nJednotky povstalcu jsou porazeny! ', ENGLISH, 'en'),
               'Nic\nThe rebel forces are defeated!');
  fs.rmSync(dir, { recursive: true });
});

// Every reason the game gives for refusing a replay has its words, with the
// line or tick filled in, and English ones in i18n/page_en.ts.
test('a refused replay is explained in Czech and English; saved files are named by the time',
     async () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quarnex-strings-'));
  const out = path.join(dir, 'strings.mjs');
  execFileSync('python3', [path.join(root, 'web/tools/make-strings.py'), out,
    path.join(root, 'i18n/page_en.ts')]);
  const { ENGLISH } = await import(pathToFileURL(out).href);
  const english = (text) => ENGLISH[text] ?? `UNTRANSLATED ${text}`;
  for (let code = 1; code < REASONS.length; code++) {
    for (const translate of [undefined, english]) {
      const text = refusalText({ code, line: 12, tick: 345 }, translate);
      assert.doesNotMatch(text, /%1|UNTRANSLATED/, `code ${code}`);
    }
  }
  assert.equal(refusalText({ code: 6, line: 12, tick: -1 }),
               'Zaznam nelze prehrat.\n\nZaznam je poskozeny (radek 12).');
  assert.equal(refusalText({ code: 11, line: 0, tick: 4200 }, english),
               'The replay cannot be played.\n\nThe replay is damaged: the game parts from it at tick 4200.');
  assert.equal(replayFileName(new Date(2026, 0, 5, 7, 3)), 'quarnex-20260105-0703.qxr');
  fs.rmSync(dir, { recursive: true });
});

test('a broken .ts file stops the build with its name', () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quarnex-strings-'));
  const bad = path.join(dir, 'bad_en.ts');
  fs.writeFileSync(bad, '<TS><context>');
  assert.throws(() => execFileSync('python3', [path.join(root, 'web/tools/make-strings.py'),
    path.join(dir, 'out.mjs'), bad], { stdio: 'pipe' }), /bad_en\.ts/);
  fs.rmSync(dir, { recursive: true });
});

test('the icons: the art cut out of its black and enlarged by whole pixels', () => {
  const art = decodeBmp(fs.readFileSync(path.join(root, 'res/icons/113.bmp')));
  assert.deepEqual([art.width, art.height], [32, 32]);
  const icon = decodePng(encodePng(place(cutOut(art), 192, 6)));
  assert.deepEqual([icon.width, icon.height], [192, 192]);
  assert.equal(icon.rgba[3], 0);  // the black around the ship is gone
  // Every art pixel became a 6 x 6 block of one colour.
  for (let y = 0; y < 192; y += 6) {
    for (let x = 0; x < 192; x += 6) {
      const first = icon.rgba.subarray((y * 192 + x) * 4, (y * 192 + x) * 4 + 4).join();
      const last = ((y + 5) * 192 + x + 5) * 4;
      assert.equal(icon.rgba.subarray(last, last + 4).join(), first);
    }
  }
  assert.throws(() => decodeBmp(Buffer.from('BM not really')), /not a BMP/);
});
