// The game's screen on the page's canvas, one canvas pixel per device pixel
// (sharp at any size and device pixel ratio); only the boxes a step changed
// are copied.
export class ScreenView {
  constructor(canvas, core) {
    this.canvas = canvas;
    this.core = core;
    this.context = canvas.getContext('2d', { alpha: false });
    this.stats = { presents: 0, boxes: 0, pixels: 0 };
  }

  // The canvas's size in device pixels, as far as layout knows it now.
  measure() {
    const box = this.canvas.getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    return [Math.max(0, Math.round(box.width * ratio)), Math.max(0, Math.round(box.height * ratio))];
  }

  // Follows the canvas's size (window resizes, zoom, moves between screens).
  // The browser's device-pixel box is exact where it agrees with the CSS
  // size times the ratio (an emulated ratio, as in a test browser, may leave
  // it at the screen's own pixels).
  watch(onResize) {
    const observer = new ResizeObserver(([entry]) => {
      const estimate = this.measure();
      const device = entry.devicePixelContentBoxSize?.[0];
      const exact = device && Math.abs(device.inlineSize - estimate[0]) <= 1 &&
                    Math.abs(device.blockSize - estimate[1]) <= 1;
      const size = exact ? [device.inlineSize, device.blockSize] : estimate;
      if (size[0] !== this.canvas.width || size[1] !== this.canvas.height) onResize(...size);
    });
    try {
      observer.observe(this.canvas, { box: 'device-pixel-content-box' });
    } catch {
      observer.observe(this.canvas);
    }
  }

  setSize(width, height) {
    this.canvas.width = width;
    this.canvas.height = height;
  }

  // While held, the canvas keeps its picture (the changes wait in the game).
  hold(on) {
    this.held = on;
  }

  present(full = false) {
    if (this.held && !full) return;
    const boxes = this.core.present(full);
    if (boxes.length === 0) return;
    const image = this.core.screenImage();
    for (const [x, y, w, h] of boxes) {
      this.context.putImageData(image, 0, 0, x, y, w, h);
      this.stats.pixels += w * h;
    }
    this.stats.presents++;
    this.stats.boxes += boxes.length;
  }

  // A position on the page as a pixel of the screen, or null outside it.
  toScreen(clientX, clientY) {
    const box = this.canvas.getBoundingClientRect();
    const fx = (clientX - box.left) / box.width;
    const fy = (clientY - box.top) / box.height;
    if (!(fx >= 0 && fy >= 0 && fx < 1 && fy < 1)) return null;
    return [Math.min(Math.floor(fx * this.canvas.width), this.canvas.width - 1),
            Math.min(Math.floor(fy * this.canvas.height), this.canvas.height - 1)];
  }
}
