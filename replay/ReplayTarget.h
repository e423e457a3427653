#pragma once

#include "game/GameInput.h"
#include "game/GameState.h"

namespace qx {

// What a replay is played on: a Game (shown in a window or the simulator) or
// a bare state (checked without drawing).
class ReplayTarget {
  public:
    virtual ~ReplayTarget() = default;

    virtual void ApplyInput(const GameInput& input) = 0;
    virtual void RunTick() = 0;
    virtual const GameState& State() const = 0;
};

}  // namespace qx
