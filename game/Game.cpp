#include "game/Game.h"

#include "gfx/Blit.h"
#include "gfx/ResourceLibrary.h"

namespace qx {
namespace {

constexpr int kBackdropId = 127;

}  // namespace

Game::Game(GameHost& host) : host(host), backdrop(LoadBitmapResource(kBackdropId)) {}

void Game::ApplyStoredPlayers(bool emperorComputer, bool rebelComputer) {
    emperor.computer = emperorComputer;
    rebel.computer = rebelComputer;
}

void Game::StartTimer() {
    timerId = host.SetGameTimer();
}

void Game::CreateWorkBitmaps() {
    emperor.CreateWorkBitmap();
    rebel.CreateWorkBitmap();
}

void Game::OnSize(int32_t width, int32_t height) {
    clientRect = {0, 0, width > 0 ? width : 0, height > 0 ? height : 0};
    screen.Reset(clientRect.right, clientRect.bottom);
    screen.TrackWrites(true);
}

// Composes the whole scene off-screen and copies it onto the screen in one
// step, so a half-built picture never shows.
void Game::OnPaint() {
    const int32_t w = clientRect.right;
    const int32_t h = clientRect.bottom;
    if (offscreen.Width() != w || offscreen.Height() != h) offscreen.Reset(w, h);
    backdrop.StretchTo(offscreen, 0, 0, w, h, {0, 0, kArenaWidth, kArenaHeight});
    emperor.DrawShots(backdrop, clientRect, offscreen);
    rebel.DrawShots(backdrop, clientRect, offscreen);
    meteor.Draw(backdrop, clientRect, offscreen);
    emperor.Draw(backdrop, clientRect, offscreen);
    rebel.Draw(backdrop, clientRect, offscreen);
    energyPanel.DrawPanels(offscreen, clientRect);
    energyPanel.ResolveCombat(offscreen, clientRect, emperor, rebel, backdrop, meteor, true);
    Blit(screen, 0, 0, w, h, offscreen, 0, 0, RasterOp::Copy);
}

void Game::OnGameNew() {
    emperor.Reset();
    rebel.Reset();
    emperor.wins = 0;
    rebel.wins = 0;
    OnPaint();

    PlayerChoice choice{!emperor.computer, !rebel.computer};
    if (timerId != 0) host.KillGameTimer();
    if (host.RunNewGameDialog(choice)) {
        emperor.computer = !choice.emperorHuman;
        rebel.computer = !choice.rebelHuman;
    }
    // Closing the dialog without OK resumes the game with the choice as it was.
    timerId = host.SetGameTimer();
}

}  // namespace qx
