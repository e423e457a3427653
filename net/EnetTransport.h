#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "net/Transport.h"

struct _ENetHost;
struct _ENetPeer;

namespace qx::net {

// The game's connection over ENet: one UDP port, one peer, channel 0 for
// the inputs (unsequenced: the game orders them by tick) and channel 1 for
// the reliable messages. ENet is told the largest message the game has, so
// nothing longer is ever buffered, and to give up on a peer that
// acknowledges nothing for 5 seconds.
class EnetTransport : public Transport {
  public:
    static constexpr uint32_t kTimeoutMs = 5000;
    static constexpr uint16_t kDefaultPort = 29030;

    // Waits for one machine to join on `port` (all local addresses).
    static std::unique_ptr<EnetTransport> Listen(uint16_t port, std::string& error);
    // Starts joining the machine `host` (name or address) on `port`.
    static std::unique_ptr<EnetTransport> Join(const std::string& host, uint16_t port,
                                               std::string& error);
    ~EnetTransport() override;

    LinkEvent Poll(std::vector<uint8_t>& data) override;
    void Send(const std::vector<uint8_t>& data, bool reliable) override;
    void Wait(uint32_t ms) override;
    void Close(uint32_t lingerMs) override;
    uint64_t BytesSent() const override;
    uint64_t BytesReceived() const override;
    uint64_t Oversized() const override { return oversized; }

    // The UDP socket, to wake an event loop when something arrives.
    int SocketHandle() const;

  private:
    struct Pending {
        LinkEvent event;
        std::vector<uint8_t> data;
    };

    explicit EnetTransport(_ENetHost* host);
    // Services ENet once, waiting up to `ms`; an event for the game goes to
    // `pending`.
    void Service(uint32_t ms);

    _ENetHost* host = nullptr;
    _ENetPeer* peer = nullptr;
    std::deque<Pending> pending;
    uint64_t oversized = 0;
    bool everConnected = false;
    bool listening = false;
};

}  // namespace qx::net
