#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "game/GameInput.h"
#include "game/GameState.h"

namespace qx::sim {

// The simulator's check that nothing the game depends on lives outside its
// state: after every tick it goes back `depth` ticks, runs them again from
// the recorded inputs without drawing, and compares the result with the
// state the live run reached.
class SyncTester {
  public:
    explicit SyncTester(int32_t depth) : depth(depth) {}

    // The state before the first tick.
    void Begin(const GameState& start);
    // Records one tick's inputs and the state after it, then re-runs and
    // compares. Returns false (with Failure() set) when the re-run differs.
    bool Check(int64_t tick, const std::vector<GameInput>& inputs, const GameState& after);

    const std::string& Failure() const { return failure; }

  private:
    struct Step {
        std::vector<GameInput> inputs;
        GameState after;
    };

    int32_t depth;
    GameState base;          // the state before the oldest kept step
    std::deque<Step> steps;  // at most depth + 1 steps
    std::string failure;
};

}  // namespace qx::sim
