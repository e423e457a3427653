// The browser page: loads the game, shows its screen on the canvas, runs the
// 30 ms tick and connects the menu, the dialogs, the pause and the players'
// input (mouse, keys, touch, gamepads) and the replays. window.quarnex
// reports start-up times, drawing counts, where the ships are and the
// state's checksum (for tests and measurements).
import { KeyBindings } from './bindings.mjs';
import { ControlsPage } from './controls.mjs';
import { GameCore } from './core.mjs';
import { PageDialogs } from './dialogs.mjs';
import { Gamepads } from './gamepads.mjs';
import { wireInput } from './input.mjs';
import { language, setLanguage, startLanguage, tr, translatePage, trGameText } from './language.mjs';
import { wireMenu } from './menu.mjs';
import { CAPTION, gameLinkFault, parseGameLink, normalizeServer, netReplayFileName,
         shortened } from './net-texts.mjs';
import { NetPlay } from './netplay.mjs';
import { keepOffline } from './offline.mjs';
import { Pause } from './pause.mjs';
import { Replays, download } from './replays.mjs';
import { readFlag, readPlayers, readSetting, whenNotKept, writeFlag, writePlayers,
         writeSetting } from './settings.mjs';
import { touchScreenOnly, wireTouchPad } from './touch.mjs';
import { PageTitle } from './title.mjs';
import { ScreenView } from './view.mjs';

const TICK_MS = 30;
const SCORE_KEY = 'quarnex.Vzhled.skore';
const TOUCH_KEY = 'quarnex.Vzhled.dotyk';
const KEYS_KEY = 'quarnex.Klavesy';
const NET_KEY = 'quarnex.Sit';  // the network dialog's last choices (JSON)

const status = { ticks: 0, firstFrameMs: null, firstFrameShownMs: null, started: false };
window.quarnex = status;

// A message over the whole page that replaces the game (it could not start).
function showNotice(caption, text) {
  const notice = document.getElementById('notice');
  notice.querySelector('.caption').textContent = caption;
  notice.querySelector('.text').textContent = text;
  notice.hidden = false;
  document.body.classList.add('failed');
  document.getElementById('menubar').inert = true;
}

// The last inputs given to the game, for tests: "key N", "left", "right",
// "aim X Y".
function recordInputs(core) {
  status.inputs = [];
  const note = (text) => {
    status.inputs.push(text);
    if (status.inputs.length > 200) status.inputs.shift();
  };
  for (const [name, text] of [['key', (k) => `key ${k}`], ['leftButton', () => 'left'],
    ['rightButton', () => 'right'], ['aim', (x, y) => `aim ${x} ${y}`]]) {
    const send = core[name].bind(core);
    core[name] = (...args) => {
      note(text(...args));
      send(...args);
    };
  }
}

// The network dialog's kept choices: only fields of the right kind count, so
// a setting damaged or written by something else is as good as none.
function readNetChoices(text) {
  let kept = null;
  try {
    kept = JSON.parse(text ?? '{}');
  } catch { /* a damaged setting: the defaults */ }
  if (!kept || typeof kept !== 'object' || Array.isArray(kept)) return {};
  const choices = {};
  if (typeof kept.server === 'string') choices.server = kept.server;
  if (typeof kept.name === 'string') choices.name = kept.name;
  if (['create', 'join', 'quick', 'watch'].includes(kept.mode)) choices.mode = kept.mode;
  if (kept.side === 1 || kept.side === 2) choices.side = kept.side;
  if (typeof kept.code === 'string') choices.code = kept.code;
  return choices;
}

// The random secret key that stands for this player on the servers (64 hex
// digits), made on the first network game and kept; a new one each game when
// storage cannot keep it.
const KEY_KEY = 'quarnex.Hra.key';
function playerKey() {
  const kept = readSetting(KEY_KEY);
  if (kept && /^[0-9a-f]{64}$/.test(kept)) return kept;
  const bytes = crypto.getRandomValues(new Uint8Array(32));
  const key = [...bytes].map((b) => b.toString(16).padStart(2, '0')).join('');
  writeSetting(KEY_KEY, key);
  return key;
}

async function main() {
  startLanguage();
  translatePage(document);
  const canvas = document.getElementById('screen');
  const menubar = document.getElementById('menubar');
  const giveBackFocus = () => canvas.focus({ preventScroll: true });
  let menu = null;
  let replays = null;
  const dialogs = new PageDialogs(document, (open) => {
    menubar.inert = open;
    menu?.close();
    if (!open) replays?.dialogsClosed();
  });
  // A browser whose storage is full or refused: said once, the game goes on.
  whenNotKept(() => dialogs.openMessage(tr('Nastaveni'), tr(
    'Nastaveni nelze v tomto prohlizeci ulozit: uloziste stranky je plne nebo zakazane. ' +
    'Hra bezi dal, ale pri pristi navsteve bude mit vychozi nastaveni (hrace, skore, klavesy, jazyk).')));
  const bindings = KeyBindings.parse(readSetting(KEYS_KEY));
  const controls = new ControlsPage(dialogs.controls, bindings,
                                    () => writeSetting(KEYS_KEY, bindings.serialize()));
  dialogs.keyFilter = (event) => dialogs.isOpen(dialogs.controls) && controls.key(event);
  let view = null;
  let core = null;
  let sawKeyboard = false;
  let askedForNewGame = false;
  let netPlay = null;
  // As on the desktop, the pads rest during a network game.
  const pads = new Gamepads(null, {
    onPause: () => pause.toggle(),
    accepts: () => (dialogs.anyOpen() || menu.isOpen() || replays?.playing || netPlay?.active
      ? 'none' : pause.paused ? 'pause' : 'all'),
  });
  const newGame = () => {
    askedForNewGame = true;
    core.newGame();
    askedForNewGame = false;
    view.present();
  };
  window.addEventListener('keydown', (event) => {
    sawKeyboard = true;
    // Where Tab moves the focus, the scene shows it has it.
    document.body.classList.toggle('tabbing', event.key === 'Tab');
  }, true);
  window.addEventListener('pointerdown', () => document.body.classList.remove('tabbing'), true);
  const touchOnly = () => touchScreenOnly(window) && !sawKeyboard;

  const title = new PageTitle(document, document.getElementById('title-line'),
                              () => core.wins());
  title.showScore = readFlag(SCORE_KEY);
  let pause = null;

  const touchPad = wireTouchPad(document.getElementById('touch-pad'), {
    key: (k) => core?.key(k),
  }, () => dialogs.anyOpen() || pause?.paused);

  // Called when the game comes to wait for a dialog; the game is told the
  // answer once the dialog closes and goes on from where it stopped. As on the
  // desktop, the screen behind a dialog is the one the game had drawn when
  // it opened the dialog.
  core = await GameCore.load({
    openEndOfGame: (caption, text) => {
      view.present();
      view.hold(true);
      title.hold();
      dialogs.openEndOfGame(trGameText(caption), trGameText(text), () => {
        title.release();
        view.hold(false);
        core.closeEndOfGame();
        view.present();
      });
    },
    openNewGame: (emperorHuman, rebelHuman) => {
      view.present();
      // Without a keyboard nobody can fly the Rebel unless its touch
      // controls are on: offer the computer.
      const rebel = rebelHuman && !(touchOnly() && !touchPad.shown());
      // Opened by the game at its end, the dialog ignores the keys the
      // players still hold; asked for, it answers at once.
      const guarded = !askedForNewGame;
      const padChoice = document.querySelector('#new-game .pad-choice');
      padChoice.hidden = pads.count() === 0;
      padChoice.querySelector('select').value = pads.firstPadEmperor ? 'emperor' : 'rebel';
      dialogs.openNewGame(emperorHuman, rebel, (confirmed, emperor, rebelChosen) => {
        core.closeNewGame(confirmed, emperor, rebelChosen);
        if (confirmed) {
          if (!padChoice.hidden) pads.firstPadEmperor = padChoice.querySelector('select').value === 'emperor';
          writePlayers({ emperorComputer: !emperor, rebelComputer: !rebelChosen });
          if (rebelChosen && touchOnly() && !touchPad.shown()) setTouch(true);
        }
        giveBackFocus();
      }, guarded);
    },
  });
  status.started = true;
  recordInputs(core);
  view = new ScreenView(canvas, core);
  status.stats = view.stats;
  status.ships = () => core.ships();
  status.wins = () => core.wins();
  status.target = () => core.target();
  status.checksum = () => core.checksum();

  // No pause in a network game: it runs on the other player's clock too.
  pause = new Pause(document.getElementById('pause-note'),
                    () => core.ticking() && !replays?.playing && !netPlay?.active, (paused) => {
    menu.setChecked('pause', paused);
    title.paused = paused;
    title.update();
  });
  pause.watchVisibility(document);
  status.paused = () => pause.paused;

  const setTouch = (on, keep = true) => {
    touchPad.show(on);
    if (keep) writeFlag(TOUCH_KEY, on);
    menu.setChecked('touch', on);
  };

  // Start-up in the desktop's order: the players kept from the last visit,
  // the first picture, then the New game command.
  const players = readPlayers();
  const [width, height] = view.measure();
  view.setSize(width, height);
  core.start(Math.floor(Date.now() / 1000), players.emperorComputer, players.rebelComputer,
             width, height);
  view.present(true);
  status.firstFrameMs = performance.now();
  requestAnimationFrame(() => { status.firstFrameShownMs = performance.now(); });

  // While a replay plays the page's game stands still under it (a paused
  // game stays paused) and goes on where it stood when the replay ends.
  replays = new Replays({
    core, view, dialogs,
    fileInput: document.getElementById('replay-file'),
    busy: () => (netPlay?.active ? 'Behem sitove hry nelze prehrat zaznam.' : null),
    onChange: (playing) => {
      title.replaying = playing;
      title.update();
      document.getElementById('pause-note').hidden = playing || !pause.paused;
      if (playing) return;
      giveBackFocus();
      // Ended while the tab is hidden: the game waits as it would have.
      if (document.visibilityState === 'hidden') pause.set(true, 'hidden');
    },
  });
  replays.watch(window, document.getElementById('stage'));
  status.replay = () => ({ playing: replays.playing, ...core.replayTicks(), last: replays.last });

  const repaint = () => { core.paint(); view.present(); };
  const enable = (command, on) => {
    menubar.querySelector(`[data-command="${command}"]`).disabled = !on;
  };
  netPlay = new NetPlay({
    core, view, dialogs, location,
    status: document.getElementById('net-status'),
    download: (bytes, name) => download(document, bytes, name),
    onTitle: (text) => { title.network = text; title.update(); },
    onChange: (active) => {
      // The page's own game waits under a network game: nothing to start.
      enable('new', !active);
      enable('net-game', !active);
      enable('net-stop', active);
      enable('play-replay', !active);
      enable('pause', !active);
      if (!active) giveBackFocus();
    },
  });
  dialogs.translate = tr;
  status.net = { report: () => netPlay.report(), last: () => netPlay.last,
                 lastReplay: () => new TextDecoder().decode(netPlay.lastReplay ?? new Uint8Array()),
                 start: (request) => startNetGame({ server: location.host, ...request }) };
  // The player's name (as last chosen) goes with every game, with the key
  // that stands for the player (made on the first game, kept).
  const startNetGame = (request) => {
    if (netPlay.active) return;
    replays.stop();
    pause.set(false);
    netPlay.start({ name: readNetChoices(readSetting(NET_KEY)).name ?? '', key: playerKey(),
                    ...request });
    giveBackFocus();
  };
  // "Sitova hra...": the server (this page's own by default) and what to do
  // there; the choices are kept for the next time.
  const netDialog = () => {
    const kept = readNetChoices(readSetting(NET_KEY));
    dialogs.openNetGame({ ...kept, server: kept.server || location.host }, (chosen) => {
      giveBackFocus();
      if (!chosen) return;
      const server = normalizeServer(chosen.server, location);
      writeSetting(NET_KEY, JSON.stringify({ ...chosen, server: server ?? chosen.server }));
      if (!server) {
        dialogs.openMessage(tr('Sitova hra'),
                            tr('"%1" neni adresa serveru (pocitac:port).').replace('%1', shortened(chosen.server)));
        return;
      }
      startNetGame({ kind: chosen.mode, side: chosen.side, code: chosen.code, server,
                     name: chosen.name });
    });
  };
  // A link #join=CODE or #watch=CODE (CODE@HOST:PORT for another server)
  // opens the page straight into that game.
  // A link that cannot open its game says why; either way it leaves the
  // address bar. Returns whether a network game starts.
  const followLink = () => {
    const fault = gameLinkFault(location.hash);
    const link = parseGameLink(location.hash);
    if (!fault && !link) return false;
    history.replaceState(null, '', location.pathname + location.search);
    if (fault) {
      dialogs.openMessage(tr(CAPTION), tr(fault));
      return false;
    }
    startNetGame({ kind: link.kind, code: link.code, server: link.server ?? location.host });
    return true;
  };
  window.addEventListener('hashchange', followLink);

  menu = wireMenu(menubar, {
    new: () => { pause.set(false); newGame(); },
    'save-replay': () => {
      if (!netPlay.active) return replays.save(document);
      // As on the desktop: a network game's confirmed ticks, once it has begun.
      if (!netPlay.begun) {
        return dialogs.openMessage(tr('Sitova hra'), tr('Sitova hra jeste nezacala, neni co ulozit.'));
      }
      return replays.save(document, netReplayFileName(new Date()));
    },
    'net-game': netDialog,
    'net-stop': () => netPlay.leave(),
    'play-replay': () => replays.choose(),
    pause: () => pause.toggle(),
    score: () => {
      title.showScore = !title.showScore;
      writeFlag(SCORE_KEY, title.showScore);
      menu.setChecked('score', title.showScore);
      title.update();
    },
    touch: () => setTouch(!touchPad.shown()),
    language: () => dialogs.openLanguage(language(), (chosen) => {
      if (chosen) {
        setLanguage(chosen);
        translatePage(document);
        pause.show();
        title.update();
      }
      repaint();
    }),
    controls: () => dialogs.openControls(() => controls.render(), repaint),
    about: () => dialogs.openAbout(repaint),
  }, giveBackFocus, () => dialogs.anyOpen());
  menu.setChecked('score', title.showScore);
  setTouch(readFlag(TOUCH_KEY), false);

  view.watch((w, h) => {
    view.setSize(w, h);
    core.resize(w, h);
    view.present(true);
  });
  const inputBlocked = () => dialogs.anyOpen() || menu.isOpen() || pause.paused ||
                             replays.playing;
  wireInput({
    canvas, view, core,
    blocked: inputBlocked,
    bindings: () => bindings,
    onKey: (event) => {
      const pauseKey = event.key === 'Pause' || (event.code === 'KeyP' && !event.altKey &&
                                                  !event.ctrlKey && !event.metaKey);
      if (!pauseKey || dialogs.anyOpen() || menu.isOpen()) return false;
      pause.toggle();
      return true;
    },
  });
  dialogs.paintPictures(core, document);
  pads.core = core;

  // One step per timer event, never catching up on missed ones. The
  // controls page holds the game while it is open, as on the desktop.
  setInterval(() => {
    pads.poll();
    if (replays.playing) {
      replays.tick();
      return;
    }
    if (netPlay.active || pause.paused || dialogs.isOpen(dialogs.controls)) return;
    if (!core.tick()) return;
    status.ticks++;
    view.present();
    if (title.showScore) title.update();
  }, TICK_MS);

  // Opened by a game's link, the page goes straight into that game (its own
  // game's New game comes when the player asks for it).
  if (!followLink()) newGame();
  title.update();
  giveBackFocus();
  keepOffline(status);
}

main().catch((error) => {
  console.error('Quarnex could not start:', error);
  showNotice(tr('Hru se nepodarilo spustit'),
             tr('Program hry (quarnex.wasm) chybi, nepodarilo se ho nacist nebo spustit. ' +
                'Sestavte stranku znovu (make web) a nactete ji znovu.') +
             `\n(${error?.message ?? error})`);
});
