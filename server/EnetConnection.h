#pragma once

#include "server/Connection.h"

struct _ENetPeer;

namespace qx::server {

class EnetEndpoint;

// A client connected over ENet: channel 0 unsequenced for the game's inputs,
// channel 1 reliable for everything else.
class EnetConnection : public Connection {
  public:
    EnetConnection(EnetEndpoint& endpoint, _ENetPeer* peer, std::string address, uint64_t nowMs);

    void Send(const uint8_t* data, size_t size, bool reliable) override;
    void Close() override;
    size_t Backlog() const override;

  private:
    EnetEndpoint& endpoint;
    _ENetPeer* peer;
};

}  // namespace qx::server
