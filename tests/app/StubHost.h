#pragma once

#include <string>

#include "game/GameHost.h"

// A host that only counts what the game asks of it, for tests of the view
// without a main window.
class StubHost : public qx::GameHost {
  public:
    uint32_t SetGameTimer() override {
        ++timerStarts;
        return 5;
    }
    void KillGameTimer() override { ++timerStops; }
    void ShowEndOfGame(const std::string&, const std::string&) override { ++endOfGameBoxes; }
    bool RunNewGameDialog(qx::PlayerChoice&) override {
        ++dialogs;
        return true;
    }

    int timerStarts = 0;
    int timerStops = 0;
    int endOfGameBoxes = 0;
    int dialogs = 0;
};
