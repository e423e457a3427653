#pragma once

#include <cstdint>

#include "net/InputList.h"
#include "net/Packet.h"

namespace qx::net {

// A computer-controlled player for soak runs and tests of network play: the
// inputs one side's person could make in a tick, drawn at random (the
// Emperor steers and fires often, the Rebel presses keys, either now and
// then starts a new game). The same seed gives the same inputs.
class RandomPlayer {
  public:
    RandomPlayer(NetSide side, uint64_t seed) : side(side), state(seed * 2654435761u + 1) {}

    InputList InputsFor(uint32_t tick);

  private:
    uint32_t Below(uint32_t n);

    NetSide side;
    uint64_t state;
};

}  // namespace qx::net
