#pragma once

#include "game/GameInput.h"
#include "net/Packet.h"

namespace qx::net {

// Which of the game's inputs a side's machine may send in a network game:
// the Emperor's steering target, his mouse buttons and Enter; the Rebel's
// keys; and from either, New game with both sides played by persons (in a
// network game nobody hands a side to the computer). Everything else stays
// on the machine it happened on or is refused when it arrives.
bool BelongsToSide(NetSide side, const GameInput& input);

}  // namespace qx::net
