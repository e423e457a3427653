#pragma once

#include <cstdint>

#include "game/GameInput.h"
#include "game/GameState.h"
#include "game/PlayerChoice.h"

namespace qx {

// Told of every step a Game takes, in order, so that a host can record the
// game as it is played (a replay). Inputs are reported before they are
// applied, so inputs that arrive while a modal window of the host is open
// inside another step are reported in the order they happen. Game::Restore
// is not reported: a host that rolls back records the steps it confirms
// itself.
class GameObserver {
  public:
    virtual ~GameObserver() = default;

    virtual void OnStart(uint32_t seed, PlayerChoice players) = 0;
    virtual void OnInput(const GameInput& input) = 0;
    virtual void OnTickStart(const GameState& before) = 0;
    virtual void OnTickEnd(const GameState& after) = 0;
};

}  // namespace qx
