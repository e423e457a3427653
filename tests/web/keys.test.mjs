// The page's key table gives the desktop's game keys.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { GameKey as K, NONE, toGameKey } from '../../web/page/keys.mjs';

const MAIN = 0;
const KEYPAD = 3;
const key = (name, location = MAIN, altKey = false) => toGameKey({ key: name, location, altKey });

test('the main block: arrows, Home, End, Insert, Space, C, X and Enter', () => {
  assert.deepEqual(
    ['ArrowLeft', 'ArrowUp', 'ArrowRight', 'ArrowDown', 'Home', 'End', 'Insert', ' ', 'c', 'C',
     'x', 'X', 'Enter'].map((k) => key(k)),
    [K.Left, K.Up, K.Right, K.Down, K.UpLeft, K.DownLeft, K.Stop, K.Space, K.C, K.C, K.X, K.X,
     K.Enter]);
});

test('the keypad with Num Lock on and off', () => {
  assert.deepEqual([...'0123456789'].map((d) => key(d, KEYPAD)),
                   [K.Stop, K.DownLeft, K.Down, K.DownRight, K.Left, NONE, K.Right, K.UpLeft,
                    K.Up, K.UpRight]);
  // Num Lock off: the navigation keys; Page Up, Page Down and Clear do nothing.
  assert.deepEqual(['Home', 'ArrowUp', 'PageUp', 'Clear', 'PageDown', 'Insert', 'Enter'].map(
    (k) => key(k, KEYPAD)), [K.UpLeft, K.Up, NONE, NONE, NONE, K.Stop, K.Enter]);
  assert.equal(key('7'), NONE);  // the main block's digits are no game keys
});

test('keys held with Alt and keys the game does not know', () => {
  assert.equal(key('c', MAIN, true), NONE);
  assert.equal(key('8', KEYPAD, true), NONE);
  for (const other of ['F1', 'Escape', 'Tab', 'a', 'PageUp', 'Dead', 'é']) {
    assert.equal(key(other), NONE, other);
  }
  assert.equal(toGameKey({}), NONE);
});
