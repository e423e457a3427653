#pragma once

#include "game/GameHost.h"
#include "game/GameRules.h"
#include "net/ReplayTarget.h"

namespace qx {

// Plays a replay on a bare state with nothing drawn (the state changes
// exactly as when drawing).
class ReplayRulesTarget : public ReplayTarget {
  public:
    ReplayRulesTarget(GameState& state, GameHost& host) : state(state), host(host) {}

    void ApplyInput(const GameInput& input) override {
        GameRules(state, host, nullptr).Apply(input);
    }
    void RunTick() override { GameRules(state, host, nullptr).Tick(); }
    const GameState& State() const override { return state; }

  private:
    GameState& state;
    GameHost& host;
};

}  // namespace qx
