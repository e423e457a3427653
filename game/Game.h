#pragma once

#include <cstdint>
#include <vector>

#include "common/Arena.h"
#include "game/GameHost.h"
#include "gfx/PaddedBackdrop.h"
#include "gfx/Surface.h"
#include "meteor/Meteor.h"
#include "panel/EnergyPanel.h"
#include "ships/Ship.h"

namespace qx {

// The whole game as the main window owns it: both ships, the meteor, the
// energy panel, the backdrop and the client-sized screen surface the game
// draws on. The shell forwards window events to the On... handlers and
// shows Screen() after each of them.
class Game {
  public:
    static constexpr uint32_t kTimerId = 5;
    static constexpr int kTimerPeriodMs = 30;

    // Builds the ships, the meteor (its first fall draws from the generator)
    // and the panel, and loads the backdrop. Seed the generator afterwards.
    explicit Game(GameHost& host);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Start-up, in the window's order: the stored player choice (true means
    // the computer plays that side), the timer, the ships' work surfaces.
    void ApplyStoredPlayers(bool emperorComputer, bool rebelComputer);
    void StartTimer();
    void CreateWorkBitmaps();

    // Window events.
    void OnSize(int32_t width, int32_t height);  // client size in pixels
    void OnPaint();                              // the full repaint
    void OnTimer();                              // one game tick
    void OnMouseMove(int32_t x, int32_t y);      // client pixels
    void OnLButtonDown();
    void OnRButtonDown();  // right and middle button
    void OnKeyDown(int virtualKey);
    void OnGameNew();  // menu "Nova"

    const Surface& Screen() const { return screen; }
    // The client-pixel rectangles of the screen written since the last call.
    std::vector<Box> TakeScreenWrites() { return screen.TakeWrites(); }
    Rect ClientRect() const { return clientRect; }
    uint32_t TimerId() const { return timerId; }
    int32_t TickCounter() const { return tickCounter; }
    int32_t FlightFrame() const { return flightFrame; }
    const Surface& Backdrop() const { return backdrop.Picture(); }

    Ship emperor{Side::Emperor};
    Ship rebel{Side::Rebel};
    Meteor meteor;

  private:
    void TurnShipsToFaceEachOther(int32_t& facing);
    void StepFlightAnimation(int32_t facing);
    // Plays a destroyed ship's explosion one step, or, once it has run out,
    // scores the round and resets the ship or ends the game.
    void SettleDestruction(Ship& loser, Ship& winner, int32_t facing, const char* lastWords,
                           const char* epilogue);
    void DrawMovingObjects(Surface& dc);

    GameHost& host;
    uint32_t timerId = 0;
    EnergyPanel energyPanel;
    PaddedBackdrop backdrop;
    Rect clientRect;
    Surface screen;
    Surface offscreen;
    int32_t tickCounter = 0;
    int32_t flightFrame = 0;
};

}  // namespace qx
