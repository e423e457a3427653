#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "game/Game.h"

namespace qx::sim {

// The simulator's stand-in for the window's end-of-game box and New game
// dialog: whatever the game waits for is answered at once, the box closed
// and the dialog confirmed with OK as it stands, or with the next queued
// answer (a script's `dialog` line).
class ScriptedWindows {
  public:
    void QueueAnswer(PlayerChoice players) { answers.push_back(players); }

    // Answers every wait of the game, noting the answers in `given`.
    void Answer(Game& game, std::vector<GameInput>* given);

    int64_t GamesEnded() const { return gamesEnded; }

  private:
    GameInput NextAnswer(const GameState& state);

    int64_t gamesEnded = 0;
    std::deque<PlayerChoice> answers;
};

}  // namespace qx::sim
