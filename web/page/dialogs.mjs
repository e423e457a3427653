// The page's dialogs, shown one at a time in the order they were opened: the
// end-of-game message, the New game choice, the About box. They are modal
// (the rest of the page is inert while one is open).
export class PageDialogs {
  constructor(document) {
    this.queue = [];
    this.current = null;
    this.newGame = document.getElementById('new-game');
    this.endOfGame = document.getElementById('end-of-game');
    this.about = document.getElementById('about');
    for (const dialog of [this.newGame, this.endOfGame, this.about]) {
      dialog.addEventListener('close', () => this.closed(dialog));
    }
  }

  anyOpen() {
    return this.current !== null;
  }

  // Draws the compiled-in pictures into the dialogs' <canvas data-picture>.
  paintPictures(core, root) {
    for (const canvas of root.querySelectorAll('canvas[data-picture]')) {
      const [kind, id] = canvas.dataset.picture.split(' ');
      const image = core.picture(kind, Number(id));
      canvas.width = image.width;
      canvas.height = image.height;
      canvas.getContext('2d').putImageData(image, 0, 0);
    }
  }

  // onClose(confirmed, emperorHuman, rebelHuman); Escape closes without OK.
  openNewGame(emperorHuman, rebelHuman, onClose) {
    this.enqueue(this.newGame, () => {
      const form = this.newGame.querySelector('form');
      form.elements.emperorHuman.checked = emperorHuman;
      form.elements.rebelHuman.checked = rebelHuman;
      this.newGame.returnValue = '';
    }, () => {
      const form = this.newGame.querySelector('form');
      onClose(this.newGame.returnValue === 'ok', form.elements.emperorHuman.checked,
              form.elements.rebelHuman.checked);
    });
  }

  openEndOfGame(caption, text, onClose) {
    this.enqueue(this.endOfGame, () => {
      this.endOfGame.querySelector('.caption').textContent = caption;
      this.endOfGame.querySelector('.text').textContent = text;
    }, onClose);
  }

  openAbout(onClose) {
    this.enqueue(this.about, () => {}, onClose);
  }

  enqueue(dialog, prepare, onClose) {
    this.queue.push({ dialog, prepare, onClose });
    if (!this.current) this.showNext();
  }

  showNext() {
    const next = this.queue.shift();
    this.current = next ?? null;
    if (!next) return;
    next.prepare();
    next.dialog.showModal();
    next.dialog.querySelector('[autofocus]')?.focus();
  }

  closed(dialog) {
    if (!this.current || this.current.dialog !== dialog) return;
    const { onClose } = this.current;
    this.current = null;
    onClose?.();
    if (!this.current) this.showNext();
  }
}
