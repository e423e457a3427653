#pragma once

#include <cstdint>

#include "net/MatchClient.h"
#include "net/Transport.h"

namespace qx::net {

// A connection to the match server, whatever carries it (ENet for native
// clients, a WebSocket in the browser and under Node): first it asks for a
// room (Update until InRoom or Failed; Client() has the answer: hosting,
// side, seed, invite code), then it carries the game's packets as a
// Transport, so the rollback session plays through it unchanged.
class MatchConnection : public Transport {
  public:
    using State = MatchClient::State;

    // Services the connection, waiting up to `ms`, until the room's answer
    // has come (InRoom) or it failed; game events wait for Poll.
    virtual State Update(uint32_t ms) = 0;
    virtual const MatchClient& Client() const = 0;
};

}  // namespace qx::net
