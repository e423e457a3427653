#pragma once

#include <vector>

#include "game/GameInput.h"
#include "game/GameState.h"
#include "gfx/DrawSink.h"

namespace qx {

// Everything the game took in one step of a host's loop, in order: the
// inputs before the timer tick, the tick, and the inputs after it (the
// answers to a window the tick opened, with repaints that came while it was
// open). Running the same steps on the same state gives the same state,
// generator included, drawn or not.
struct StepInputs {
    std::vector<GameInput> before;
    std::vector<GameInput> after;

    bool operator==(const StepInputs&) const = default;
    bool Empty() const { return before.empty() && after.empty(); }
};

// Runs one step on a state: `before`, the timer tick (nothing while the game
// waits), `after`. The sink receives what it draws (null: nothing drawn).
void RunStep(GameState& state, const StepInputs& step, DrawSink* sink = nullptr);

}  // namespace qx
