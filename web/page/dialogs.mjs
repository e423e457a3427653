// The page's dialogs, shown one at a time in the order they were opened: the
// end-of-game message, the New game choice, the About box, the controls
// page, the language choice, the page's own messages. They are modal: the rest of the page, menus
// included, is inert while one is open. Enter confirms and Escape closes
// whatever was clicked last (a button with the focus still acts itself);
// keys held down from before a box opened (a player still firing) neither
// close it nor tick its boxes.
const FRESH_KEYS_MS = 500;  // keys pressed this soon after opening were meant for the game

export class PageDialogs {
  // onChange(open) runs when the first dialog opens and when the last closes.
  constructor(document, onChange = () => {}) {
    this.queue = [];
    this.current = null;
    this.onChange = onChange;
    this.modal = false;
    this.keyFilter = null;  // (event) => true when a dialog's own page took the key
    this.translate = (text) => text;  // the page's language for texts made here
    this.newGame = document.getElementById('new-game');
    this.endOfGame = document.getElementById('end-of-game');
    this.about = document.getElementById('about');
    this.controls = document.getElementById('controls');
    this.language = document.getElementById('language');
    this.message = document.getElementById('message');
    this.netGame = document.getElementById('net-game');
    this.invite = document.getElementById('net-invite');
    for (const dialog of [this.newGame, this.endOfGame, this.about, this.controls, this.language,
      this.message, this.netGame, this.invite]) {
      dialog.addEventListener('close', () => { if (!dialog.open) this.closed(dialog); });
      dialog.addEventListener('cancel', (event) => {
        event.preventDefault();
        this.finish('');
      });
    }
    document.addEventListener('keydown', (event) => this.key(event), true);
  }

  anyOpen() {
    return this.current !== null;
  }

  isOpen(dialog) {
    return this.current?.dialog === dialog;
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
  openNewGame(emperorHuman, rebelHuman, onClose, guarded = false) {
    const form = this.newGame.querySelector('form');
    this.enqueue(this.newGame, () => {
      form.elements.emperorHuman.checked = emperorHuman;
      form.elements.rebelHuman.checked = rebelHuman;
    }, () => {
      onClose(this.newGame.returnValue === 'ok', form.elements.emperorHuman.checked,
              form.elements.rebelHuman.checked);
    }, guarded);
  }

  openEndOfGame(caption, text, onClose) {
    this.enqueue(this.endOfGame, () => {
      this.endOfGame.querySelector('.caption').textContent = caption;
      this.endOfGame.querySelector('.text').textContent = text;
    }, onClose, true);
  }

  // A message of the page (a file it cannot use): caption, text and OK.
  openMessage(caption, text, onClose) {
    this.enqueue(this.message, () => {
      this.message.querySelector('.caption').textContent = caption;
      this.message.querySelector('.text').textContent = text;
    }, onClose);
  }

  // "Sitova hra...": choices { server, name, mode, side, code } to show;
  // onClose(the choices when OK, else null).
  openNetGame(choices, onClose) {
    const form = this.netGame.querySelector('form');
    const fields = form.elements;
    this.enqueue(this.netGame, () => {
      fields.server.value = choices.server ?? '';
      fields.name.value = choices.name ?? '';
      fields.mode.value = choices.mode ?? 'create';
      fields.side.value = String(choices.side ?? 1);
      fields.code.value = choices.code ?? '';
    }, () => {
      if (this.netGame.returnValue !== 'ok') return onClose(null);
      return onClose({ server: fields.server.value.trim(), name: fields.name.value.trim(),
                       mode: fields.mode.value,
                       side: Number(fields.side.value), code: fields.code.value.trim() });
    });
  }

  // The invite of a game waiting for its other player: the code, the link
  // and a button that copies the link. Closed by the page when the other
  // player comes; "Zrusit" (returnValue 'leave') gives the game up.
  openInvite(code, link, onClose) {
    this.enqueue(this.invite, () => {
      this.invite.querySelector('.code').textContent = code;
      const anchor = this.invite.querySelector('.link');
      anchor.textContent = link;
      anchor.href = link;
      const copied = this.invite.querySelector('.copied');
      copied.textContent = '';
      this.invite.querySelector('.copy').onclick = () => {
        const done = (text) => { copied.textContent = this.translate(text); };
        navigator.clipboard?.writeText(link)
          .then(() => done('Odkaz je zkopirovany.'), () => done('Odkaz se nepodarilo zkopirovat.'))
          ?? done('Odkaz se nepodarilo zkopirovat.');
      };
    }, onClose);
  }

  openAbout(onClose) {
    this.enqueue(this.about, () => {}, onClose);
  }

  openControls(prepare, onClose) {
    this.enqueue(this.controls, prepare, onClose);
  }

  // onClose(language or null when cancelled)
  openLanguage(current, onClose) {
    const form = this.language.querySelector('form');
    this.enqueue(this.language, () => { form.elements.language.value = current; },
                 () => onClose(this.language.returnValue === 'ok' ? form.elements.language.value
                                                                  : null));
  }

  // guarded: the game opened it while the players may still hold keys.
  enqueue(dialog, prepare, onClose, guarded = false) {
    this.queue.push({ dialog, prepare, onClose, guarded });
    if (!this.current) this.showNext();
  }

  showNext() {
    const next = this.queue.shift();
    this.current = next ?? null;
    this.setModal(Boolean(next));
    if (!next) return;
    next.openedAt = performance.now();
    next.prepare();
    next.dialog.returnValue = '';
    next.dialog.showModal();
    next.dialog.querySelector('[autofocus]')?.focus();
  }

  // Closes `dialog` with `value` whether it is open or still waits its turn
  // (a waiting one never opens; its onClose does not run).
  dismiss(dialog, value = 'ok') {
    if (this.current?.dialog === dialog) return this.finish(value);
    this.queue = this.queue.filter((entry) => entry.dialog !== dialog);
    return undefined;
  }

  // Closes the open dialog with `value` ('ok' or '' for cancel).
  finish(value) {
    this.current?.dialog.close(value);
  }

  key(event) {
    // A dialog's close event comes a task after it closed: a key typed in
    // between already belongs to the page.
    if (this.current && !this.current.dialog.open) this.closed(this.current.dialog);
    const open = this.current;
    if (!open) return;
    if (this.keyFilter?.(event)) return;
    const fresh = open.guarded && performance.now() - open.openedAt < FRESH_KEYS_MS;
    const isConfirm = event.key === 'Enter' || event.key === ' ';
    if (isConfirm && (event.repeat || fresh)) {
      event.preventDefault();
      event.stopPropagation();
      return;
    }
    const inside = open.dialog.contains(event.target);
    const focusedControl = inside && event.target.matches('button, input[type=radio]');
    if (event.key === 'Escape') {
      event.preventDefault();
      event.stopPropagation();
      this.finish('');
    } else if (event.key === 'Enter' && !(focusedControl && event.target.matches('button'))) {
      event.preventDefault();
      event.stopPropagation();
      this.finish('ok');
    } else if (!inside && event.key !== 'Tab') {
      // Keys typed while the focus is outside (after a click on the
      // backdrop) belong to nobody; Tab brings the focus back in.
      event.preventDefault();
      event.stopPropagation();
    }
  }

  closed(dialog) {
    if (!this.current || this.current.dialog !== dialog) return;
    const { onClose } = this.current;
    this.current = null;
    onClose?.();
    if (!this.current) this.showNext();
  }

  setModal(on) {
    if (on === this.modal) return;
    this.modal = on;
    this.onChange(on);
  }
}
