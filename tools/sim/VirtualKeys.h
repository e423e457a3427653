#pragma once

#include "game/GameInput.h"

namespace qx::sim {

// The Windows virtual-key codes input scripts name keys by (13 Enter,
// 32 Space, 35..40 End, Home and the arrows, 45 Insert, 67 C, 88 X, 96..105
// the keypad digits), as the game's own keys; every other code is a key the
// game ignores.
GameKey GameKeyForVirtualKey(int virtualKey);

// A virtual-key code that stands for `key` (0 for GameKey::None).
int VirtualKeyForGameKey(GameKey key);

}  // namespace qx::sim
