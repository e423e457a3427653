// Game::OnTimer, one step of the whole game: facing, flight animation,
// explosions and the end of rounds and games, movement, the meteor, hits, and
// drawing of everything that moved straight onto the screen.
#include <string>

#include "game/Game.h"

namespace qx {
namespace {

constexpr char kEndCaption[] = "End..";
constexpr char kEmperorLost[] = "Je konec imperatora! ";
constexpr char kEmperorLostEpilogue[] =
    " Vudce povstalcu Keldor se dostava do cela nove vlady a nici posledni zbytky privrzencu "
    "imperatora... ";
constexpr char kRebelLost[] = "Jednotky povstalcu jsou porazeny! ";
constexpr char kRebelLostEpilogue[] =
    " Pokracuje vlada imperatora Morvatehe I., ktery se tvrde msti ...";

}  // namespace

void Game::OnTimer() {
    int32_t facing = 0;
    TurnShipsToFaceEachOther(facing);
    StepFlightAnimation(facing);
    SettleDestruction(emperor, rebel, facing, kEmperorLost, kEmperorLostEpilogue);
    SettleDestruction(rebel, emperor, facing, kRebelLost, kRebelLostEpilogue);

    emperor.Update(rebel.x, rebel.y);
    rebel.Update(emperor.x, emperor.y);
    meteor.Move(screen, clientRect, backdrop);
    energyPanel.ResolveCombat(screen, clientRect, emperor, rebel, backdrop, meteor, false);
    DrawMovingObjects(screen);
}

void Game::TurnShipsToFaceEachOther(int32_t& facing) {
    const bool emperorOnLeft = emperor.x < rebel.x;
    facing = emperorOnLeft ? 0 : 1;
    emperor.shotDx = emperorOnLeft ? +10 : -10;
    rebel.shotDx = -emperor.shotDx;
}

void Game::StepFlightAnimation(int32_t facing) {
    if (++tickCounter > 100) tickCounter = 0;
    if (tickCounter % 5 != 0) return;
    if (++flightFrame > 2) flightFrame = 0;
    emperor.ShowFrame(facing, flightFrame);
    rebel.ShowFrame(facing, flightFrame);
}

void Game::SettleDestruction(Ship& loser, Ship& winner, int32_t facing, const char* lastWords,
                             const char* epilogue) {
    if (loser.energy > 0) return;
    if (loser.energy >= -60) {
        // The explosion runs from 0 down to -60 in steps of 2, each frame
        // shown for three ticks.
        const int32_t e = loser.energy;
        loser.ShowFrame(facing, (e < 0 ? -e : e) / 6);
        loser.energy = e - 2;
        return;
    }
    ++winner.wins;
    if (winner.wins >= 3 && !(emperor.computer && rebel.computer)) {
        host.KillGameTimer();
        timerId = 0;
        host.ShowEndOfGame(kEndCaption, std::string(lastWords) + "\n" + epilogue);
        OnGameNew();
    } else {
        loser.Reset();
    }
    energyPanel.DrawPanels(screen, clientRect);
    energyPanel.ResolveCombat(screen, clientRect, emperor, rebel, backdrop, meteor, true);
}

void Game::DrawMovingObjects(Surface& dc) {
    emperor.DrawShots(backdrop, clientRect, dc);
    rebel.DrawShots(backdrop, clientRect, dc);
    meteor.Draw(backdrop, clientRect, dc);
    emperor.Draw(backdrop, clientRect, dc);
    rebel.Draw(backdrop, clientRect, dc);
}

}  // namespace qx
