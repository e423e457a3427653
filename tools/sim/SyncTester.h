#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "game/GameState.h"
#include "game/StepInputs.h"

namespace qx::sim {

// The simulator's check that nothing the game depends on lives outside its
// state: after every tick it goes back `depth` ticks, runs them again from
// the recorded steps (inputs and windows' answers) without drawing, and
// compares the result with the state the live run reached.
class SyncTester {
  public:
    explicit SyncTester(int32_t depth) : depth(depth) {}

    // The state before the first tick.
    void Begin(const GameState& start);
    // Records one tick's step and the state after it, then re-runs and
    // compares. Returns false (with Failure() set) when the re-run differs.
    bool Check(int64_t tick, const StepInputs& step, const GameState& after);

    const std::string& Failure() const { return failure; }

  private:
    struct Kept {
        StepInputs step;
        GameState after;
    };

    int32_t depth;
    GameState base;          // the state before the oldest kept step
    std::deque<Kept> steps;  // at most depth steps
    std::string failure;
};

}  // namespace qx::sim
