// A network game in the page, as the desktop runs one: the game through the
// match server takes the canvas and the player's inputs while the page's
// own game waits; the title says the side (or that it waits for the other
// player, with the invite code), the status line beside it the ping, the
// input delay, rollbacks and whether it waits; the end-of-game box does not
// stop the game's clock; when it is over a message says why, unless the
// player left or the agreed game was played.
//
// The game's clock keeps time even in a hidden tab, where the browser runs
// the page's timers about once a second: every wake-up (the page's timer, a
// timer in a worker, each message from the server) runs the ticks that are
// due by the wall clock, so the other player is never held up. A tab the
// browser froze in the background (as mobile browsers do) runs nothing; on
// waking after longer than the game's silence limit the other side has
// given up on it, and the message says the game ended while the page slept.
// Leaving the page says goodbye at once where the browser lets it.
import { tr, trGameText } from './language.mjs';
import { NetCore } from './net-core.mjs';
import { CAPTION, OUTCOME, PEER_END, PHASE, endMessage, heading, inviteLink, netReplayFileName,
         socketUrl, statusLine } from './net-texts.mjs';

const TICK_MS = 30;
const STATUS_EVERY_MS = 500;

export class NetPlay {
  // page: { core, view, dialogs, location, onChange(active), onTitle(text),
  // status (the status line's element), download(bytes, name) }.
  constructor(page) {
    Object.assign(this, page);
    this.net = new NetCore(this.core);
    this.running = null;
    this.last = null;  // how the last network game ended, for tests
    this.lastReplay = null;  // ... and its replay file's bytes
    // Closing the page leaves the game: the other player learns it at once.
    globalThis.addEventListener?.('pagehide', () => this.leave());
    globalThis.document?.addEventListener('resume', () => this.drive('resume'));
  }

  get active() {
    return this.running !== null;
  }

  // The network game has its picture (the other player came, or the feed
  // started).
  get begun() {
    return [PHASE.Playing, PHASE.Watching].includes(this.running?.phase);
  }

  // request: { kind, side, code, server, name, key } (server "HOST:PORT"
  // as typed).
  start(request) {
    if (this.running) return;
    const { width, height } = this.view.canvas;
    this.running = { ...request, phase: PHASE.Connecting, awake: performance.now(), wokeAt: -Infinity,
                     statusAt: 0, waiting: false, endBoxOpen: false, inviteOpen: false };
    this.wakes = { timer: 0, worker: 0, socket: 0, resume: 0 };
    this.net.onSocket = () => this.drive('socket');
    this.net.start({ ...request, server: socketUrl(request.server, this.location) }, width,
                   height);
    this.startClock();
    this.onChange(true);
    this.update(true);
  }

  // The player ends the network game ("Ukoncit sitovou hru", closing the page).
  leave() {
    if (!this.running) return;
    this.net.leave();
    this.drive();
  }

  startClock() {
    this.timer = setInterval(() => this.drive('timer'), TICK_MS);
    try {
      const source = `setInterval(() => postMessage(0), ${TICK_MS});`;
      this.worker = new Worker(URL.createObjectURL(new Blob([source], { type: 'text/javascript' })));
      this.worker.onmessage = () => this.drive('worker');
    } catch {
      this.worker = null;  // the page's timer alone: a hidden tab then waits on the server's messages
    }
  }

  stopClock() {
    clearInterval(this.timer);
    this.worker?.terminate();
    this.worker = null;
    this.net.onSocket = null;
  }

  // Reads the socket and runs the ticks due by the wall clock (the game
  // keeps its own count); `why` names the wake-up, counted for tests.
  drive(why) {
    const game = this.running;
    if (!game || this.driving) return;
    if (why) this.wakes[why]++;
    this.driving = true;
    try {
      const now = performance.now();
      // A page that ran nothing for the game's silence limit (the game's own
      // rule) has been given up by the other side, which it learns within
      // as long again after waking.
      if (this.net.silent(now - game.awake)) game.wokeAt = now;
      game.awake = now;
      if (this.net.update(now)) this.view.present();
      this.update(false);
    } finally {
      this.driving = false;
    }
  }

  // The title, the status line, the invite and the end-of-game box after a
  // change of the game.
  update(force) {
    const game = this.running;
    const phase = this.net.phase();
    if (phase === PHASE.Over) return this.finish();
    const names = game.names ? null : this.net.names();
    if (names) game.names = names;
    const closing = this.net.closing();
    const closed = closing !== (game.closing ?? null);
    game.closing = closing;
    if (phase !== game.phase || force || names || closed) {
      game.phase = phase;
      game.code = this.net.code() || game.code;
      game.side = this.net.side();
      this.onTitle(heading({ ...game, phase }, tr));
      // The invite of a game created here (a quick match waits for anyone).
      if (phase === PHASE.WaitingForPlayer && game.kind === 'create' && !game.inviteOpen) {
        this.openInvite();
      }
      if (phase !== PHASE.WaitingForPlayer && game.inviteOpen) this.closeInvite();
    }
    const box = this.net.endBox();
    if (box) {
      game.endBoxOpen = true;
      this.dialogs.openEndOfGame(trGameText(box.caption), trGameText(box.text), () => {
        game.endBoxOpen = false;
        if (this.running === game) this.net.closeEndBox();
      });
    }
    this.showFigures(force);
  }

  showFigures(force) {
    const game = this.running;
    const now = performance.now();
    const figures = this.net.figures();
    const due = now - game.statusAt >= STATUS_EVERY_MS;
    if (!force && !due && figures.waiting === game.waiting) return;
    game.statusAt = now;
    game.waiting = figures.waiting;
    game.figures = figures;
    const playing = game.phase === PHASE.Playing;
    this.status.hidden = !playing;
    this.status.textContent = playing ? statusLine(figures, tr) : '';
  }

  openInvite() {
    const game = this.running;
    game.inviteOpen = true;
    this.dialogs.openInvite(game.code, this.inviteFor(game), () => {
      game.inviteOpen = false;
      // Closed by the player before anybody came: the game is given up.
      if (this.running === game && this.net.phase() === PHASE.WaitingForPlayer &&
          this.dialogs.invite.returnValue === 'leave') {
        this.leave();
      }
    });
  }

  closeInvite() {
    this.dialogs.dismiss(this.dialogs.invite);
    this.running.inviteOpen = false;
  }

  inviteFor(game) {
    return inviteLink(this.location, game.code, game.server);
  }

  // Back to the page's own game, which goes on where it stood.
  finish() {
    const game = this.running;
    const end = { ...this.net.end(), hosting: this.net.hosting(), code: game.code,
                  names: game.names ?? this.net.names(),
                  server: game.server, ownLength: game.ticks ?? 0, checksum: this.core.checksum(),
                  slept: !this.net.silent(performance.now() - game.wokeAt) };
    if (end.outcome === OUTCOME.Peer && end.peerEnd === PEER_END.Desync) {
      end.replayFile = netReplayFileName(new Date(), end.tick);
      const bytes = this.core.replayFile();
      if (bytes.length > 0) this.download(bytes, end.replayFile);
      else end.replayFile = null;
    }
    this.last = end;
    this.lastReplay = this.core.replayFile();  // kept for "Ulozit zaznam..." tests
    this.stopClock();
    if (game.inviteOpen) this.closeInvite();
    if (game.endBoxOpen) this.dialogs.dismiss(this.dialogs.endOfGame);
    this.running = null;
    this.net.close();
    this.status.hidden = true;
    this.onTitle('');
    this.view.present(true);
    this.onChange(false);
    const message = endMessage(end, tr);
    if (message) this.dialogs.openMessage(tr(CAPTION), message);
  }

  // For tests: the phase and figures of the game running.
  report() {
    const game = this.running;
    return game ? { phase: this.net.phase(), code: game.code, side: this.net.side(),
                    figures: this.net.figures(), wakes: { ...this.wakes } }
      : { phase: -1 };
  }
}
