// The game's network play (web/WebNetMain.cpp) seen from the page: one
// network game at a time through the match server, over a WebSocket that
// the module opens itself (binary type "arraybuffer"); onSocket runs after
// each of its events.
import { KIND } from './net-texts.mjs';

export class NetCore {
  constructor(core) {
    this.m = core.m;
  }

  set onSocket(callback) { this.m.qxOnSocketActivity = callback; }

  // kind: 'create' | 'join' | 'quick' | 'watch'; side 1 Emperor, 2 Rebel;
  // ticks: the game's length (create, quick; 0 no limit); server:
  // "HOST:PORT" or a ws:// URL; name: the player's ('' none), key: its
  // secret key (64 hex digits).
  start({ kind, side = 1, code = '', server, ticks = 0, name = '', key = '' }, width, height) {
    [code, server, name, key].forEach((value, which) => {
      const bytes = new TextEncoder().encode(String(value));
      const pointer = this.m._qx_net_argument(which, bytes.length);
      this.m.HEAPU8.set(bytes, pointer);  // HEAPU8 read after the call: memory may have grown
    });
    this.m._qx_net_start(KIND[kind] ?? KIND.quick, side, ticks, width, height);
  }

  // Reads the socket and runs the ticks due at `now` (the wall clock, ms);
  // true when the picture may have changed.
  update(now) { return this.m._qx_net_update(now) !== 0; }
  // -1 when no network game exists, else the PHASE.
  phase() { return this.m._qx_net_phase(); }
  end() {
    return { outcome: this.m._qx_net_end(0), peerEnd: this.m._qx_net_end(1),
             tick: this.m._qx_net_end(2), refusal: this.m._qx_net_end(3),
             cause: this.m._qx_net_end(4),
             failure: this.text(this.m._qx_net_failure()),
             figure: this.text(this.m._qx_net_end_figure()),
             text: this.text(this.m._qx_net_end_text()) };
  }

  code() { return this.text(this.m._qx_net_code()); }
  // The seconds the game may still go on by the server's notice that it is
  // closing, or null when it sent none.
  closing() {
    const seconds = this.m._qx_net_closing();
    return seconds < 0 ? null : seconds;
  }
  // The players' names [Emperor's, Rebel's] once the server sent them
  // ('' for an anonymous one), else null.
  names() {
    const length = this.m._qx_net_names();
    return length === 0 ? null : this.text(length).split('\x1f');
  }
  side() { return this.m._qx_net_side(); }
  hosting() { return this.m._qx_net_hosting() !== 0; }
  figures() {
    const f = (i) => this.m._qx_net_figure(i);
    return { ping: f(0), delay: f(1), rollbacks: f(2), lost: f(3), waiting: f(4) !== 0,
             tick: f(5), confirmed: f(6) };
  }

  // { caption, text } of an end-of-game box to open now, or null.
  endBox() {
    const length = this.m._qx_net_end_box();
    if (length === 0) return null;
    const [caption, text] = this.text(length).split('\x1f');
    return { caption, text };
  }

  // Whether nothing heard for `quietMs` is silence by the game's liveness
  // rule (net/LinkSilence, applied in the game).
  silent(quietMs) { return this.m._qx_net_silent(quietMs) !== 0; }

  closeEndBox() { this.m._qx_net_close_end_box(); }
  leave() { this.m._qx_net_leave(); }
  close() { this.m._qx_net_close(); }

  text(length) {
    const pointer = this.m._qx_net_text();
    return new TextDecoder().decode(this.m.HEAPU8.subarray(pointer, pointer + length));
  }
}
