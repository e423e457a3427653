#pragma once

#include <deque>
#include <functional>

#include "game/GameHost.h"

// A host for recording tests: answers the New game dialog with the next
// scripted choice (none left: OK, unchanged) and may run something while a
// window is open, as a window would repaint during a modal dialog.
class ScriptedHost : public qx::GameHost {
  public:
    std::deque<qx::PlayerChoice> answers;
    std::function<void()> whileOpen;
    int endBoxes = 0;
    int dialogs = 0;

    uint32_t SetGameTimer() override { return 5; }
    void KillGameTimer() override {}
    void ShowEndOfGame(const std::string&, const std::string&) override {
        ++endBoxes;
        if (whileOpen) whileOpen();
    }
    bool RunNewGameDialog(qx::PlayerChoice& choice) override {
        ++dialogs;
        if (whileOpen) whileOpen();
        if (answers.empty()) return true;
        choice = answers.front();
        answers.pop_front();
        return true;
    }
};
