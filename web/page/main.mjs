// The browser page: loads the game, shows its screen on the canvas, runs the
// 30 ms tick and connects the menu, the dialogs and the players' input.
// window.quarnex reports start-up times, drawing counts and where the ships
// are (for tests and measurements).
import { GameCore } from './core.mjs';
import { PageDialogs } from './dialogs.mjs';
import { wireInput } from './input.mjs';
import { wireMenu } from './menu.mjs';
import { readPlayers, writePlayers } from './settings.mjs';
import { ScreenView } from './view.mjs';

const TICK_MS = 30;

const status = { ticks: 0, firstFrameMs: null, firstFrameShownMs: null };
window.quarnex = status;

async function main() {
  const canvas = document.getElementById('screen');
  const dialogs = new PageDialogs(document);
  let view = null;

  // Called when the game comes to wait for a dialog; the game is told the
  // answer once the dialog closes and goes on from where it stopped. As on the
  // desktop, the screen behind a dialog is the one the game had drawn when
  // it opened the dialog.
  const core = await GameCore.load({
    openEndOfGame: (caption, text) => {
      view.present();
      view.hold(true);
      dialogs.openEndOfGame(caption, text, () => {
        view.hold(false);
        core.closeEndOfGame();
        view.present();
      });
    },
    openNewGame: (emperorHuman, rebelHuman) => {
      view.present();
      dialogs.openNewGame(emperorHuman, rebelHuman, (confirmed, emperor, rebel) => {
        core.closeNewGame(confirmed, emperor, rebel);
        if (confirmed) writePlayers({ emperorComputer: !emperor, rebelComputer: !rebel });
        canvas.focus({ preventScroll: true });
      });
    },
  });
  view = new ScreenView(canvas, core);
  status.stats = view.stats;
  status.ships = () => core.ships();

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

  const menu = wireMenu(document.getElementById('menubar'), {
    new: () => { core.newGame(); view.present(); },
    about: () => dialogs.openAbout(() => { core.paint(); view.present(); }),
  }, () => canvas.focus({ preventScroll: true }));

  view.watch((w, h) => {
    view.setSize(w, h);
    core.resize(w, h);
    view.present(true);
  });
  wireInput({
    canvas, view, core,
    blocked: () => dialogs.anyOpen() || menu.isOpen(),
  });
  dialogs.paintPictures(core, document);

  // One step per timer event, never catching up on missed ones.
  setInterval(() => {
    if (!core.tick()) return;
    status.ticks++;
    view.present();
  }, TICK_MS);

  core.newGame();
  view.present();
  canvas.focus({ preventScroll: true });
}

main().catch((error) => {
  console.error('Quarnex could not start:', error);
  document.body.classList.add('failed');
});
