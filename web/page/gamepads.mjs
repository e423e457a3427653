// Gamepads through the browser's Gamepad API, with the desktop's mapping
// (buttons by the standard layout: A B X Y, shoulders, triggers, Start,
// d-pad):
// - the Rebel: d-pad and left stick as the arrow keys (diagonals as the
//   keypad's corners), A, B, X as Space, X and C, Y as Stop;
// - the Emperor: the left stick moves the steering target through the arena
//   as the mouse places it; right trigger, right shoulder and A fire
//   forward, left trigger and B downward, left shoulder and X upward.
// Start on either pad pauses. The first pad plays the Rebel, the second the
// Emperor, or the other way round (the New game dialog asks while a pad is
// there); a pad keeps its place while it stays connected. Polled with the
// game's tick.
import { GameKey as K } from './keys.mjs';

const A = 0, B = 1, X = 2, Y = 3, LB = 4, RB = 5, LT = 6, RT = 7, START = 9;
const UP = 12, DOWN = 13, LEFT = 14, RIGHT = 15;
const STICK_STEERS = 0.5;    // the Rebel's stick steers once pushed past half way
const AIM_DEAD_ZONE = 0.2;   // the Emperor's aim ignores the stick's rest noise
const AIM_UNITS_PER_POLL = 12;  // across the arena in about 1.5 s
const TRIGGER_FIRES = 0.49;
const ARENA = [600, 400];

const DIRECTIONS = [[K.UpLeft, K.Up, K.UpRight], [K.Left, K.None, K.Right],
  [K.DownLeft, K.Down, K.DownRight]];
const direction = (dx, dy) => DIRECTIONS[dy + 1][dx + 1];
const held = (pad, i) => Boolean(pad.buttons[i]?.pressed);

export class Gamepads {
  // accepts(): 'all', 'pause' (Start only) or 'none'.
  constructor(core, { onPause, accepts, getPads = () => navigator.getGamepads?.() ?? [] }) {
    this.core = core;
    this.onPause = onPause;
    this.accepts = accepts;
    this.getPads = getPads;
    this.places = [null, null];  // [the first pad's, the second pad's]
    this.firstPadEmperor = false;
  }

  count() {
    return [...this.getPads()].filter((p) => p && p.connected !== false).length;
  }

  poll() {
    const pads = [...this.getPads()].filter((p) => p && p.connected !== false);
    this.places = this.places.map((place) =>
      (place && pads.some((p) => p.index === place.index) ? place : null));
    for (const pad of pads) {
      if (this.places.some((place) => place?.index === pad.index)) continue;
      const free = this.places.indexOf(null);
      if (free >= 0) this.places[free] = { index: pad.index, before: [], stick: K.None,
                                           aiming: false, aim: [0, 0], triggers: [false, false] };
    }
    const what = this.accepts();
    this.places.forEach((place, order) => {
      const pad = place && pads.find((p) => p.index === place.index);
      if (pad) this.read(pad, place, (order === 1) !== this.firstPadEmperor, what);
    });
  }

  read(pad, place, emperor, what) {
    const pressed = pad.buttons.map((b) => Boolean(b?.pressed));
    const fresh = (i) => pressed[i] && !place.before[i];
    if (what !== 'none' && fresh(START)) this.onPause();
    if (what === 'all') {
      for (let i = 0; i < pressed.length; i++) {
        if (fresh(i)) emperor ? this.emperorButton(i) : this.rebelButton(pad, i);
      }
      if (emperor) {
        this.emperorStick(pad, place);
        this.emperorTriggers(pad, place);
      } else {
        this.rebelStick(pad, place);
      }
    }
    place.before = pressed;
  }

  rebelButton(pad, button) {
    const keys = { [A]: K.Space, [B]: K.X, [X]: K.C, [Y]: K.Stop };
    if (keys[button]) return this.core.key(keys[button]);
    if ([UP, DOWN, LEFT, RIGHT].includes(button)) {
      const key = direction(held(pad, RIGHT) - held(pad, LEFT), held(pad, DOWN) - held(pad, UP));
      if (key !== K.None) this.core.key(key);
    }
  }

  emperorButton(button) {
    if (button === A || button === RB) this.core.leftButton();
    else if (button === B) this.core.rightButton();
    else if (button === X || button === LB) this.core.key(K.Enter);
  }

  // The stick presses a direction key when it enters a new direction.
  rebelStick(pad, place) {
    const [x = 0, y = 0] = pad.axes;
    let key = K.None;
    if (Math.hypot(x, y) >= STICK_STEERS) {
      const sector = Math.round(Math.atan2(y, x) / (Math.PI / 4)) & 7;
      key = direction([1, 1, 0, -1, -1, -1, 0, 1][sector], [0, 1, 1, 1, 0, -1, -1, -1][sector]);
    }
    if (key !== place.stick && key !== K.None) this.core.key(key);
    place.stick = key;
  }

  // The stick moves the target from where the Emperor aims now (the mouse
  // may have put it there), at a speed that follows the deflection.
  emperorStick(pad, place) {
    const [x = 0, y = 0] = pad.axes;
    if (Math.hypot(x, y) < AIM_DEAD_ZONE) {
      place.aiming = false;
      return;
    }
    if (!place.aiming) {
      const target = this.core.target();
      place.aim = [target.x, target.y];
      place.aiming = true;
    }
    place.aim = place.aim.map((v, i) =>
      Math.min(Math.max(v + [x, y][i] * AIM_UNITS_PER_POLL, 0), ARENA[i] - 1));
    this.core.aim(Math.round(place.aim[0]), Math.round(place.aim[1]));
  }

  // A trigger fires once each time it is pulled past half way.
  emperorTriggers(pad, place) {
    [RT, LT].forEach((button, i) => {
      const pulled = (pad.buttons[button]?.value ?? 0) >= TRIGGER_FIRES;
      if (pulled && !place.triggers[i]) i === 0 ? this.core.leftButton() : this.core.rightButton();
      place.triggers[i] = pulled;
    });
  }
}
