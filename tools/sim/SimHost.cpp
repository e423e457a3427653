#include "tools/sim/SimHost.h"

namespace qx::sim {

uint32_t SimHost::SetGameTimer() {
    timerRunning = true;
    return Game::kTimerId;
}

void SimHost::KillGameTimer() {
    timerRunning = false;
}

void SimHost::ShowEndOfGame(const std::string&, const std::string&) {
    ++gamesEnded;
}

bool SimHost::RunNewGameDialog(PlayerChoice& choice) {
    if (nextChoice) choice = *nextChoice;
    nextChoice.reset();
    return true;
}

}  // namespace qx::sim
