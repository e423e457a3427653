#pragma once

namespace qx {

// Player 1 is the Emperor's white ship, player 2 the Rebel's red ship.
enum class Side { Emperor, Rebel };

}  // namespace qx
