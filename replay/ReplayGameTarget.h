#pragma once

#include "game/Game.h"
#include "replay/ReplayTarget.h"

namespace qx {

// Plays a replay on a Game, drawn on its screen as it goes.
class ReplayGameTarget : public ReplayTarget {
  public:
    explicit ReplayGameTarget(Game& game) : game(game) {}

    void ApplyInput(const GameInput& input) override { game.Apply(input); }
    void RunTick() override { game.Tick(); }
    const GameState& State() const override { return game.State(); }

  private:
    Game& game;
};

}  // namespace qx
