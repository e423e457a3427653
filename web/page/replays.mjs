// Replays in the page, as the desktop has them: "Ulozit zaznam..." downloads
// the game so far as a .qxr file; "Prehrat zaznam..." (or a file dropped on
// the page) reads one, checks it by playing it through in the game, and
// shows a good one over the page at the game's speed until a key, a click
// or its end, while the page's own game stands still. A bad file changes
// nothing: a message says why.
import { tr } from './language.mjs';
import { CODE, PLAY_CAPTION, refusalText, replayFileName } from './replay-texts.mjs';

const MAX_FILE_BYTES = 64 * 1024 * 1024;  // no replay the game writes comes near it

// Offers bytes as a file to keep (the browser's download).
export function download(document, bytes, name) {
  const blob = new Blob([bytes], { type: 'application/octet-stream' });
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

export class Replays {
  // page: { core, view, dialogs, fileInput, onChange(playing), busy() };
  // onChange runs when a replay starts and when it ends; busy() names why
  // no replay can play now (a text to translate), or null.
  constructor({ core, view, dialogs, fileInput, onChange = () => {}, busy = () => null }) {
    Object.assign(this, { core, view, dialogs, fileInput, onChange, busy });
    this.playing = false;
    this.last = null;  // { total, checksum } of the last replay played, for tests
    this.waiting = null;  // a file's bytes waiting for the dialogs to close
    fileInput.addEventListener('change', () => {
      const [file] = fileInput.files;
      fileInput.value = '';
      if (file) this.openFile(file);
    });
  }

  // name: the file's name (default: the desktop's, by the time).
  save(document, name = replayFileName(new Date())) {
    download(document, this.core.replayFile(), name);
  }
  choose() {
    this.fileInput.click();
  }

  async openFile(file) {
    if (file.size > MAX_FILE_BYTES) return this.refuse({ code: CODE.TooLarge });
    let bytes;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch {
      return this.refuse({ code: CODE.CannotOpen });
    }
    return this.open(bytes);
  }

  // Plays the file's bytes; returns whether they were a good replay. A file
  // chosen or dropped while a dialog is open (the game runs on behind the
  // file picker and may open one) is opened once the dialogs are answered.
  open(bytes) {
    const busy = this.busy();
    if (busy) {
      this.dialogs.openMessage(tr(PLAY_CAPTION), tr(busy));
      return false;
    }
    if (this.dialogs.anyOpen()) {
      this.waiting = bytes;
      return false;
    }
    const { width, height } = this.view.canvas;
    const refusal = this.core.openReplay(bytes, width, height);
    if (refusal) return this.refuse(refusal);
    this.view.present(true);
    this.last = { total: this.core.replayTicks().total, checksum: null };
    if (!this.playing) {
      this.playing = true;
      this.onChange(true);
    }
    return true;
  }

  dialogsClosed() {
    const bytes = this.waiting;
    this.waiting = null;
    if (bytes) this.open(bytes);
  }

  refuse(refusal) {
    this.dialogs.openMessage(tr(PLAY_CAPTION), refusalText(refusal, tr));
    return false;
  }

  // One timer tick while a replay plays.
  tick() {
    if (!this.playing) return;
    if (this.core.replayTick()) {
      this.view.present();
      return;
    }
    this.finish();
  }

  stop() {
    if (!this.playing) return;
    this.core.stopReplay();
    this.finish();
  }

  finish() {
    this.last.checksum = this.core.checksum(true);
    this.playing = false;
    this.view.present(true);
    this.onChange(false);
  }

  // A key or a click anywhere ends the replay; a key never reaches the game
  // nor the page's shortcuts, a click on the scene never reaches the game
  // (a click on the menu bar still opens its menu). Files dropped on the
  // page play (after the dialogs open at the time).
  watch(window, stage) {
    window.addEventListener('keydown', (event) => {
      if (!this.playing) return;
      event.preventDefault();
      event.stopImmediatePropagation();
      this.stop();
    }, true);
    window.addEventListener('pointerdown', (event) => {
      if (!this.playing) return;
      this.stop();
      if (stage.contains(event.target)) {
        event.preventDefault();
        event.stopImmediatePropagation();
      }
    }, true);
    const carriesFiles = (event) => [...(event.dataTransfer?.types ?? [])].includes('Files');
    window.addEventListener('dragover', (event) => {
      if (!carriesFiles(event)) return;
      event.preventDefault();
      event.dataTransfer.dropEffect = 'copy';
    });
    window.addEventListener('drop', (event) => {
      if (!carriesFiles(event)) return;
      event.preventDefault();
      const [file] = event.dataTransfer.files;
      if (file) this.openFile(file);
    });
  }
}
