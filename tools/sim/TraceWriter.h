#pragma once

#include <cstdint>
#include <string>

#include "game/GameState.h"

namespace qx::sim {

// One JSON object per tick with the whole game state.
std::string TraceLine(int64_t tick, const GameState& state);

// "ship R F" / "hit R V" for the ship's current picture, "R F" for its mask.
std::string SpriteName(const Ship& ship);
std::string MaskName(const Ship& ship);

}  // namespace qx::sim
