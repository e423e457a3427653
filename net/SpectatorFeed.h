#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "net/InputList.h"
#include "net/Packet.h"

namespace qx::net {

// A spectator's view of a room: what MatchTransport (or the WebSocket
// client) receives after Watching, put back together into ticks. The host's
// Start packet gives the game (seed, sides, length); the Feed frames give
// each side's inputs from tick 1; a tick is ready once both sides' inputs
// for it have come. Play each ready tick as a replay does: the Emperor's
// inputs, then the Rebel's, then the game tick.
class SpectatorFeed {
  public:
    // Takes one received frame; false (and nothing changed) for a frame that
    // is malformed or does not continue the feed.
    bool Add(const uint8_t* data, size_t size);

    const std::optional<StartPacket>& Start() const { return start; }
    // The next tick with both sides' inputs; false when none is ready yet.
    bool Next(uint32_t& tick, InputList& emperor, InputList& rebel);
    uint32_t Received(NetSide side) const { return received[side == NetSide::Emperor ? 0 : 1]; }

  private:
    std::optional<StartPacket> start;
    std::deque<InputList> waiting[2];
    uint32_t received[2] = {0, 0};
    uint32_t next = 1;
};

}  // namespace qx::net
