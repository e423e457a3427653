// Touch controls for the Rebel: eight arrows and a stop over the scene's
// lower left edge, the three shots over its lower right one. Each touch on
// them is one key press, so one finger can steer the Emperor on the scene
// while another plays the Rebel. They are shown only when asked for (the
// menu), since a device with a keyboard plays the Rebel on its keys.
export function wireTouchPad(pad, core, blocked) {
  for (const button of pad.querySelectorAll('button[data-key]')) {
    button.tabIndex = -1;
    const release = () => button.classList.remove('down');
    button.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      if (blocked()) return;
      button.classList.add('down');
      core.key(Number(button.dataset.key));
    });
    button.addEventListener('pointerup', release);
    button.addEventListener('pointercancel', release);
    button.addEventListener('pointerleave', release);
    button.addEventListener('contextmenu', (event) => event.preventDefault());
  }
  return {
    show(on) { pad.hidden = !on; },
    shown: () => !pad.hidden,
  };
}

// A touch screen with nothing that points finely (no mouse, no touchpad):
// a phone or a tablet, which most likely has no keyboard either.
export function touchScreenOnly(window) {
  return window.matchMedia('(any-pointer: coarse)').matches &&
         !window.matchMedia('(any-pointer: fine)').matches;
}
