#pragma once

#include <cstdint>
#include <deque>

#include "game/GameHost.h"

namespace qx::sim {

// The simulator's stand-in for the window: message boxes that are dismissed
// at once and a New game dialog that is confirmed with OK as it stands, or
// with the next queued answer (a scripted new game brings its own choice).
class SimHost : public GameHost {
  public:
    uint32_t SetGameTimer() override;
    void KillGameTimer() override {}
    void ShowEndOfGame(const std::string& caption, const std::string& text) override;
    bool RunNewGameDialog(PlayerChoice& choice) override;

    int64_t GamesEnded() const { return gamesEnded; }
    void QueueAnswer(PlayerChoice players) { answers.push_back(players); }

  private:
    int64_t gamesEnded = 0;
    std::deque<PlayerChoice> answers;
};

}  // namespace qx::sim
