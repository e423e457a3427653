#pragma once

#include "game/GameInput.h"

// Where the view sends the player's inputs instead of applying them to the
// game it shows: a network game takes them into its own input stream (and
// the view's repaints then show the state without changing it).
class InputRoute {
  public:
    virtual ~InputRoute() = default;
    virtual void OnViewInput(const qx::GameInput& input) = 0;
};
