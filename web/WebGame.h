#pragma once

#include <cstdint>
#include <vector>

#include "game/Game.h"
#include "game/GameHost.h"
#include "web/PageDialogs.h"

namespace qx::web {

// The browser page's window: owns the game, forwards the page's events to it
// and stands in for the desktop shell as its host. This is the only place the
// browser build talks to the game.
//
// The game asks its host for the New game choice and shows the end-of-game
// message as calls that return only once the window is closed. The page
// cannot block, so the dialogs are opened and the calls return at once:
// RunNewGameDialog answers "not confirmed" (the game then restarts its timer
// with the choice as it was) and holds the ticks until the page's dialog is
// closed; CloseNewGameDialog applies the page's choice, like the desktop's
// OK, and lets the ticks run again.
class WebGame : public GameHost {
  public:
    explicit WebGame(PageDialogs& dialogs);

    // Start-up in the desktop window's order: the generator seeded after the
    // game objects are built, the timer, the stored players, the ships' work
    // surfaces, the client size and the first full picture. The page shows
    // that picture, then runs NewGame.
    void Start(uint32_t seed, bool emperorComputer, bool rebelComputer, int32_t width,
               int32_t height);

    void Resize(int32_t width, int32_t height);  // device pixels; repaints everything
    void Paint();                                // the full repaint
    // One game step, when the timer runs and no New game dialog is open.
    // Returns whether the game stepped.
    bool Tick();
    void MouseMove(int32_t x, int32_t y);
    void LeftButton();
    void RightButton();  // right and middle button
    void Key(int virtualKey);
    void NewGame();  // menu "Nova"; ignored while its dialog is open
    void CloseNewGameDialog(bool confirmed, const PlayerChoice& choice);

    bool NewGameDialogOpen() const { return newGameOpen; }
    bool TimerRunning() const { return timerRunning; }
    bool EmperorComputer() const { return game.emperor.computer; }
    bool RebelComputer() const { return game.rebel.computer; }
    // The ships' positions in arena units, for tests and the page's status.
    int32_t EmperorX() const { return game.emperor.x; }
    int32_t EmperorY() const { return game.emperor.y; }
    int32_t RebelX() const { return game.rebel.x; }
    int32_t RebelY() const { return game.rebel.y; }
    const Surface& Screen() const { return game.Screen(); }
    std::vector<Box> TakeScreenWrites() { return game.TakeScreenWrites(); }

    uint32_t SetGameTimer() override;
    void KillGameTimer() override;
    void ShowEndOfGame(const std::string& caption, const std::string& text) override;
    bool RunNewGameDialog(PlayerChoice& choice) override;

  private:
    PageDialogs& dialogs;
    bool timerRunning = false;
    bool newGameOpen = false;
    Game game{*this};
};

}  // namespace qx::web
