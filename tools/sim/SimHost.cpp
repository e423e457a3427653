#include "tools/sim/SimHost.h"

#include "game/Game.h"

namespace qx::sim {

uint32_t SimHost::SetGameTimer() {
    return Game::kTimerId;
}

void SimHost::ShowEndOfGame(const std::string&, const std::string&) {
    ++gamesEnded;
}

bool SimHost::RunNewGameDialog(PlayerChoice& choice) {
    if (!answers.empty()) {
        choice = answers.front();
        answers.pop_front();
    }
    return true;
}

}  // namespace qx::sim
