#pragma once

#include <cstdint>
#include <optional>

#include "game/Game.h"
#include "game/GameHost.h"

namespace qx::sim {

// The simulator's stand-in for the window: a timer flag, message boxes that
// are dismissed at once and a New game dialog that is confirmed with OK.
class SimHost : public GameHost {
  public:
    uint32_t SetGameTimer() override;
    void KillGameTimer() override;
    void ShowEndOfGame(const std::string& caption, const std::string& text) override;
    bool RunNewGameDialog(PlayerChoice& choice) override;

    // The choice the next dialog confirms instead of the current one.
    void SetNextChoice(const PlayerChoice& choice) { nextChoice = choice; }

    bool TimerRunning() const { return timerRunning; }
    int64_t GamesEnded() const { return gamesEnded; }

  private:
    bool timerRunning = false;
    int64_t gamesEnded = 0;
    std::optional<PlayerChoice> nextChoice;
};

}  // namespace qx::sim
