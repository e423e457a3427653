#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/GameInput.h"
#include "replay/ReplayRecorder.h"
#include "web/PageDialogs.h"

namespace qx::web {

// The browser page's window: owns the game and forwards the page's events to
// it. This is the only place the browser build talks to the game.
//
// When the game comes to wait for a window (the end-of-game box, the New
// game dialog) the page's dialog is opened; the page reports its closing
// (CloseEndOfGame, CloseNewGameDialog), which the game takes as the answer
// and goes on exactly where it stopped, in the middle of a tick if a tick
// ended the game. No tick runs while the game waits.
//
// Every game is recorded from its start, as the desktop window records its
// own: the start-up (the start, the first picture and the first New game)
// is the replay's tick 0, closed when the first New game dialog is answered.
class WebGame {
  public:
    explicit WebGame(PageDialogs& dialogs) : dialogs(dialogs) { game.SetObserver(&recorder); }
    WebGame(const WebGame&) = delete;
    WebGame& operator=(const WebGame&) = delete;

    // Start-up in the desktop window's order: the client size, the game
    // started with the stored players, the first full picture. The page
    // shows that picture, then runs NewGame.
    void Start(uint32_t seed, const PlayerChoice& players, int32_t width, int32_t height);

    void Resize(int32_t width, int32_t height);  // device pixels; repaints everything
    void Paint();                                // the full repaint
    // One game step, when the game does not wait. Returns whether it stepped.
    bool Tick();
    void MouseMove(int32_t x, int32_t y);
    void LeftButton();
    void RightButton();  // right and middle button
    void Key(GameKey key);
    void NewGame();  // menu "Nova"; ignored while a dialog is open
    void CloseEndOfGame();
    void CloseNewGameDialog(bool confirmed, const PlayerChoice& choice);

    bool NewGameDialogOpen() const { return game.State().wait.what == WaitFor::NewGameChoice; }
    bool Ticking() const { return game.State().timerRunning && !game.Waiting(); }
    bool EmperorComputer() const { return game.State().emperor.Computer(); }
    bool RebelComputer() const { return game.State().rebel.Computer(); }
    // The game's state: the ships, the score, where the Emperor steers to.
    const GameState& State() const { return game.State(); }
    // Points the Emperor's steering target at an arena position (a gamepad's
    // aim), as a mouse move over the screen does.
    void Aim(int32_t arenaX, int32_t arenaY) { Apply(GameInput::Target(arenaX, arenaY)); }
    // The game so far as a replay file (docs/replay-format.md): up to the
    // last whole tick.
    std::string ReplayText() const;
    const Surface& Screen() const { return game.Screen(); }
    std::vector<Box> TakeScreenWrites() { return game.TakeScreenWrites(); }

  private:
    void Apply(const GameInput& input);
    void OpenWaitingDialog();

    PageDialogs& dialogs;
    ReplayRecorder recorder;
    Game game;
    bool startUpOpen = true;           // the first New game dialog is not answered yet
    WaitFor shown = WaitFor::Nothing;  // the wait whose dialog the page shows
};

}  // namespace qx::web
