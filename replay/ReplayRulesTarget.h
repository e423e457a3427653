#pragma once

#include "game/GameRules.h"
#include "replay/ReplayTarget.h"

namespace qx {

// Plays a replay on a bare state with nothing drawn (the state changes
// exactly as when drawing).
class ReplayRulesTarget : public ReplayTarget {
  public:
    explicit ReplayRulesTarget(GameState& state) : state(state) {}

    void ApplyInput(const GameInput& input) override { GameRules(state, nullptr).Apply(input); }
    void RunTick() override { GameRules(state, nullptr).Tick(); }
    const GameState& State() const override { return state; }

  private:
    GameState& state;
};

}  // namespace qx
