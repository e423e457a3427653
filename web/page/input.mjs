// The players' input: the Emperor on the mouse (or one finger: the ship flies
// toward the touch, a tap fires forward), the Rebel on the keyboard. Nothing
// reaches the game while a dialog is open, as on the desktop, and keys reach
// it only while the scene (or nothing) has the focus: a focused menu title
// or button takes its own Enter and Space.
import { NONE } from './keys.mjs';

const TAP_MS = 300;      // a touch this short ...
const TAP_SLOP_PX = 12;  // ... that moved this little (CSS pixels) is a tap

// Whether a key press is meant for the scene rather than a focused control.
export function sceneHasFocus(document) {
  const focused = document.activeElement;
  return !focused || focused === document.body || focused === document.documentElement ||
         focused.id === 'screen';
}

// bindings(): the player's keys (KeyBindings); onKey(event) runs first and
// returns true when it took the key (pause).
export function wireInput({ canvas, view, core, blocked, bindings, onKey = () => false }) {
  let touch = null;

  const steer = (event) => {
    const point = view.toScreen(event.clientX, event.clientY);
    if (point) core.mouseMove(...point);
  };

  const press = (button) => {
    if (button === 0) core.leftButton();
    else if (button === 1 || button === 2) core.rightButton();
  };
  // A button pressed while another is held comes as a move with `button` set.
  const BUTTON_BITS = [1, 4, 2];

  canvas.addEventListener('pointermove', (event) => {
    if (blocked()) return;
    if (event.pointerType !== 'touch' && event.button >= 0 &&
        (event.buttons & BUTTON_BITS[event.button])) {
      press(event.button);
    }
    if (event.pointerType === 'touch') {
      if (!touch || event.pointerId !== touch.id) return;
      if (Math.hypot(event.clientX - touch.x, event.clientY - touch.y) > TAP_SLOP_PX) {
        touch.moved = true;
      }
    }
    steer(event);
  });

  canvas.addEventListener('pointerdown', (event) => {
    if (blocked()) return;
    canvas.focus({ preventScroll: true });
    if (event.pointerType === 'touch') {
      // The first finger on the scene steers, whatever other fingers do on
      // the Rebel's buttons.
      if (touch) return;
      touch = { id: event.pointerId, x: event.clientX, y: event.clientY,
                time: event.timeStamp, moved: false };
      steer(event);
      return;
    }
    press(event.button);
    event.preventDefault();
  });
  // No middle-button scrolling or text selection on the scene.
  canvas.addEventListener('mousedown', (event) => event.preventDefault());

  const endTouch = (event, tapped) => {
    if (!touch || event.pointerId !== touch.id) return;
    const tap = tapped && !touch.moved && event.timeStamp - touch.time <= TAP_MS;
    touch = null;
    if (tap && !blocked()) {
      core.leftButton();
    }
  };
  canvas.addEventListener('pointerup', (event) => endTouch(event, true));
  canvas.addEventListener('pointercancel', (event) => endTouch(event, false));
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());

  // Every key-down acts, auto-repeated ones included.
  window.addEventListener('keydown', (event) => {
    if (event.defaultPrevented || !sceneHasFocus(document)) return;
    if (onKey(event)) {
      event.preventDefault();
      return;
    }
    if (blocked()) return;
    const key = bindings().gameKey(event);
    if (key === NONE) return;
    core.key(key);
    // The game's keys do not also scroll the page or type.
    if (!event.ctrlKey && !event.metaKey) event.preventDefault();
  });
}
