// The page's key table gives the desktop's virtual-key codes.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { NONE, isGameKey, toVirtualKey } from '../../web/page/keys.mjs';

const MAIN = 0;
const KEYPAD = 3;
const vk = (key, location = MAIN, altKey = false) => toVirtualKey({ key, location, altKey });

test('the Rebel\'s keys on the main block', () => {
  assert.deepEqual(
    ['ArrowLeft', 'ArrowUp', 'ArrowRight', 'ArrowDown', 'Home', 'End', 'Insert', ' ', 'c', 'C',
     'x', 'X', 'Enter'].map((k) => vk(k)),
    [37, 38, 39, 40, 36, 35, 45, 32, 67, 67, 88, 88, 13]);
});

test('the keypad with Num Lock on and off', () => {
  for (let digit = 0; digit <= 9; digit++) assert.equal(vk(String(digit), KEYPAD), 96 + digit);
  // Num Lock off: the navigation keys, mapped like the main ones.
  assert.deepEqual(['Home', 'ArrowUp', 'PageUp', 'Clear', 'Insert', 'Delete'].map(
    (k) => vk(k, KEYPAD)), [36, 38, 33, 12, 45, 46]);
  assert.deepEqual(['*', '+', '-', '.', ',', '/', 'Enter'].map((k) => vk(k, KEYPAD)),
                   [106, 107, 109, 110, 110, 111, 13]);
  assert.equal(vk('7'), 55);  // the main block's digit is not the keypad's
});

test('other keys, Alt and unknown keys', () => {
  assert.deepEqual(['F1', 'F12', 'F24', 'Escape', 'Tab', 'Backspace', 'Shift', 'NumLock'].map(
    (k) => vk(k)), [112, 123, 135, 27, 9, 8, 16, 144]);
  assert.equal(vk('c', MAIN, true), NONE);
  assert.equal(vk('F25'), NONE);
  assert.equal(vk('é'), NONE);
  assert.equal(vk('Dead'), NONE);
  assert.equal(toVirtualKey({}), NONE);
});

test('only the keys the game acts on are kept from the browser', () => {
  assert.ok([13, 32, 37, 38, 39, 40, 36, 35, 45, 67, 88, 96, 105].every(isGameKey));
  assert.ok(![27, 9, 112, 116, 123, 65].some(isGameKey));
});
