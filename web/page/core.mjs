// The game compiled to WebAssembly (quarnex.js + quarnex.wasm), seen through
// the functions web/WebMain.cpp exports.
export class GameCore {
  // hooks: { openEndOfGame(caption, text), openNewGame(emperorHuman, rebelHuman) },
  // called from inside the game while it runs a step.
  // Rejects when quarnex.js is missing or the wasm cannot be fetched,
  // compiled or started.
  static async load(hooks) {
    if (typeof globalThis.createQuarnex !== 'function') {
      throw new Error('quarnex.js did not load');
    }
    let aborted;
    const abort = new Promise((resolve, reject) => { aborted = reject; });
    const module = await Promise.race([
      globalThis.createQuarnex({
        page: hooks,
        onAbort: (what) => aborted(new Error(String(what))),
        printErr: (text) => console.warn(text),
      }),
      abort,
    ]);
    return new GameCore(module);
  }

  constructor(module) {
    this.m = module;
  }

  start(seed, emperorComputer, rebelComputer, width, height) {
    this.m._qx_start(seed >>> 0, emperorComputer ? 1 : 0, rebelComputer ? 1 : 0, width, height);
  }

  resize(width, height) { this.m._qx_resize(width, height); }
  paint() { this.m._qx_paint(); }
  tick() { return this.m._qx_tick() !== 0; }
  mouseMove(x, y) { this.m._qx_mouse_move(x, y); }
  leftButton() { this.m._qx_left_button(); }
  rightButton() { this.m._qx_right_button(); }
  key(gameKey) { this.m._qx_key(gameKey); }
  newGame() { this.m._qx_new_game(); }
  closeEndOfGame() { this.m._qx_close_end_of_game(); }
  closeNewGame(confirmed, emperorHuman, rebelHuman) {
    this.m._qx_close_new_game(confirmed ? 1 : 0, emperorHuman ? 1 : 0, rebelHuman ? 1 : 0);
  }
  // Rounds won so far: { emperor, rebel }.
  wins() { return { emperor: this.m._qx_wins(0), rebel: this.m._qx_wins(1) }; }
  // Where the Emperor steers to, and a new target (arena units).
  target() { return { x: this.m._qx_target(0), y: this.m._qx_target(1) }; }
  aim(x, y) { this.m._qx_aim(x, y); }
  emperorComputer() { return this.m._qx_emperor_computer() !== 0; }
  rebelComputer() { return this.m._qx_rebel_computer() !== 0; }
  ticking() { return this.m._qx_ticking() !== 0; }
  // The text the game last handed over (qx_text), `length` bytes of it.
  text(length) {
    const pointer = this.m._qx_text();
    return new TextDecoder().decode(this.m.HEAPU8.subarray(pointer, pointer + length));
  }

  // The game so far as a replay file's bytes (up to its last whole tick).
  replayFile() {
    const length = this.m._qx_replay_save();
    const pointer = this.m._qx_text();
    return this.m.HEAPU8.slice(pointer, pointer + length);
  }

  // The checksum of the game's state (of the replay playing or played last
  // when `ofReplay`), 16 hex digits as quarnex-sim prints it.
  checksum(ofReplay = false) { return this.text(this.m._qx_checksum(ofReplay ? 1 : 0)); }

  // Reads and checks a replay file (a Uint8Array); a good one starts to play
  // over the game. Returns null, or why it was refused: { code, line, tick }
  // (code: the number of the game's ReplayError::Code).
  openReplay(bytes, width, height) {
    const pointer = this.m._qx_replay_buffer(bytes.length);
    this.m.HEAPU8.set(bytes, pointer);  // HEAPU8 read after the call: memory may have grown
    const code = this.m._qx_replay_open(width, height);
    if (code === 0) return null;
    return { code, line: this.m._qx_replay_error_line(), tick: this.m._qx_replay_error_tick() };
  }

  // One timer tick of the replay playing; false once it is over.
  replayTick() { return this.m._qx_replay_tick() !== 0; }
  stopReplay() { this.m._qx_replay_stop(); }
  replaying() { return this.m._qx_replaying() !== 0; }
  // { played, total } ticks of the replay playing.
  replayTicks() { return { played: this.m._qx_replay_ticks(0), total: this.m._qx_replay_ticks(1) }; }

  // Where the ships are, in arena units (600 x 400).
  ships() {
    const at = (rebel) => ({ x: this.m._qx_ship_x(rebel), y: this.m._qx_ship_y(rebel) });
    return { emperor: at(0), rebel: at(1) };
  }

  // The boxes changed since the last call (all of the screen when `full`),
  // as [x, y, w, h] arrays; the screen's RGBA bytes are then up to date.
  present(full) {
    const count = this.m._qx_present(full ? 1 : 0);
    const words = new Int32Array(this.m.HEAPU8.buffer, this.m._qx_presented(), count * 4);
    const boxes = [];
    for (let i = 0; i < count; i++) boxes.push(Array.from(words.subarray(i * 4, i * 4 + 4)));
    return boxes;
  }

  // The screen as ImageData over the game's memory (no copy); valid until
  // the next call into the game.
  screenImage() {
    const width = this.m._qx_rgba_width();
    const height = this.m._qx_rgba_height();
    const pointer = this.m._qx_rgba();
    const buffer = this.m.HEAPU8.buffer;
    const cached = this.image;
    if (!cached || cached.buffer !== buffer || cached.pointer !== pointer ||
        cached.width !== width || cached.height !== height) {
      const bytes = new Uint8ClampedArray(buffer, pointer, width * height * 4);
      this.image = { buffer, pointer, width, height, data: new ImageData(bytes, width, height) };
    }
    return this.image.data;
  }

  // A compiled-in picture (bitmap or icon number) as a copied ImageData.
  picture(kind, id) {
    const pointer = this.m._qx_picture(kind === 'icon' ? 1 : 0, id);
    const width = this.m._qx_picture_width();
    const height = this.m._qx_picture_height();
    const bytes = this.m.HEAPU8.slice(pointer, pointer + width * height * 4);
    return new ImageData(new Uint8ClampedArray(bytes.buffer), width, height);
  }
}
