#pragma once

#include <cstdint>
#include <vector>

#include "game/Game.h"
#include "game/GameHost.h"
#include "game/GameInput.h"
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
// closed; CloseNewGameDialog then sets the players in the game's state as
// the game does after an OK (nothing else changes) and lets the ticks run.
class WebGame : public GameHost {
  public:
    explicit WebGame(PageDialogs& dialogs);

    // Start-up in the desktop window's order: the client size, the game
    // started with the stored players, the first full picture. The page
    // shows that picture, then runs NewGame.
    void Start(uint32_t seed, const PlayerChoice& players, int32_t width, int32_t height);

    void Resize(int32_t width, int32_t height);  // device pixels; repaints everything
    void Paint();                                // the full repaint
    // One game step, when the timer runs and no New game dialog is open.
    // Returns whether the game stepped.
    bool Tick();
    void MouseMove(int32_t x, int32_t y);
    void LeftButton();
    void RightButton();  // right and middle button
    void Key(GameKey key);
    void NewGame();  // menu "Nova"; ignored while its dialog is open
    void CloseNewGameDialog(bool confirmed, const PlayerChoice& choice);

    bool NewGameDialogOpen() const { return newGameOpen; }
    bool TimerRunning() const { return game.State().timerRunning; }
    bool EmperorComputer() const { return game.State().emperor.Computer(); }
    bool RebelComputer() const { return game.State().rebel.Computer(); }
    // The ships' positions in arena units, for tests and the page's status.
    int32_t EmperorX() const { return game.State().emperor.X(); }
    int32_t EmperorY() const { return game.State().emperor.Y(); }
    int32_t RebelX() const { return game.State().rebel.X(); }
    int32_t RebelY() const { return game.State().rebel.Y(); }
    // The rounds each side has won, and where the Emperor steers to (arena
    // units): the page's score and its gamepads' aim.
    int32_t EmperorWins() const { return game.State().emperor.Wins(); }
    int32_t RebelWins() const { return game.State().rebel.Wins(); }
    int32_t EmperorTargetX() const { return game.State().emperor.TargetX(); }
    int32_t EmperorTargetY() const { return game.State().emperor.TargetY(); }
    // Points the Emperor's steering target at an arena position (a gamepad's
    // aim), as a mouse move over the screen does.
    void Aim(int32_t arenaX, int32_t arenaY) { game.Apply(GameInput::Target(arenaX, arenaY)); }
    const Surface& Screen() const { return game.Screen(); }
    std::vector<Box> TakeScreenWrites() { return game.TakeScreenWrites(); }

    uint32_t SetGameTimer() override;
    void KillGameTimer() override;
    void ShowEndOfGame(const std::string& caption, const std::string& text) override;
    bool RunNewGameDialog(PlayerChoice& choice) override;

  private:
    PageDialogs& dialogs;
    bool newGameOpen = false;
    Game game{*this};
};

}  // namespace qx::web
