#pragma once

// A GameHost that records every call, and a helper that starts a Game the
// way the window does.
#include <functional>
#include <string>
#include <vector>

#include "common/Random.h"
#include "game/Game.h"
#include "game/GameHost.h"
#include "tests/ships/ShipSetup.h"

namespace qx::test {

class FakeHost : public GameHost {
  public:
    uint32_t SetGameTimer() override {
        calls.push_back("SetGameTimer");
        timerRunning = true;
        return Game::kTimerId;
    }
    void KillGameTimer() override {
        calls.push_back("KillGameTimer");
        timerRunning = false;
    }
    void ShowEndOfGame(const std::string& caption, const std::string& text) override {
        calls.push_back("ShowEndOfGame");
        captions.push_back(caption);
        texts.push_back(text);
        if (onEndOfGame) onEndOfGame();
    }
    bool RunNewGameDialog(PlayerChoice& choice) override {
        calls.push_back("RunNewGameDialog");
        dialogOpenedWith.push_back(choice);
        if (onDialog) onDialog();
        if (answer) choice = *answer;
        return confirm;
    }
    void Clear() {
        calls.clear();
        captions.clear();
        texts.clear();
        dialogOpenedWith.clear();
    }
    int EndsOfGame() const { return static_cast<int>(texts.size()); }

    std::vector<std::string> calls;
    std::vector<std::string> captions;
    std::vector<std::string> texts;
    std::vector<PlayerChoice> dialogOpenedWith;
    bool timerRunning = false;

    // How the dialog is closed: OK (true) or not, and with which boxes.
    bool confirm = true;
    const PlayerChoice* answer = nullptr;
    // Looks at the game while the modal windows are open.
    std::function<void()> onEndOfGame;
    std::function<void()> onDialog;
};

// The window's start-up: the game built from the generator's start state,
// then seeded, sized, the players applied, the first paint and the New game
// command confirmed with OK. The host's record is cleared afterwards.
inline void StartUp(Game& game, FakeHost& host, bool emperorComputer, bool rebelComputer, int w,
                    int h) {
    game.OnSize(w, h);
    game.StartTimer();
    game.ApplyStoredPlayers(emperorComputer, rebelComputer);
    game.CreateWorkBitmaps();
    game.OnPaint();
    const PlayerChoice keep{!emperorComputer, !rebelComputer};
    host.answer = &keep;
    game.OnGameNew();
    host.answer = nullptr;
    host.Clear();
}

// Keeps the meteor falling straight down the far left column, where no ship
// is ever placed in these tests.
inline void ParkMeteor(Meteor& meteor, int32_t y = 60) {
    meteor.Respawn();
    meteor.x = meteor.prevX = 20;
    meteor.y = meteor.prevY = y;
    meteor.dx = 0;
    meteor.dy = 2;
}

}  // namespace qx::test
