#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "net/MatchConnection.h"

struct _ENetHost;
struct _ENetPeer;

namespace qx::net {

// A network game through the match server over ENet: it connects, asks for
// a room (create, join, quick match or watch) and then carries the game's
// packets like EnetTransport, so NetPeer plays through it unchanged. The
// creator of a room (and the first of a quick match) hosts the game with
// the room's seed and side (PeerOptions: hosting, side and seed from
// Answer()); the other player joins.
//
// The Transport events: for the host Connected when the other player is in
// the room, for a joiner or spectator as soon as the room answers;
// Received for the game's packets (and, for a spectator, the server's feed
// frames, see DecodeFeed); Disconnected when the other player left, the
// spectator's feed is complete, or the server went away.
class MatchTransport : public MatchConnection {
  public:
    static constexpr uint32_t kConnectMs = 5000;
    static constexpr uint16_t kDefaultPort = 29030;

    // Starts connecting to the server; null with `error` for a bad host or
    // request (an invite code that is no code).
    static std::unique_ptr<MatchTransport> Connect(const std::string& host, uint16_t port,
                                                   const MatchRequest& request, std::string& error);
    ~MatchTransport() override;

    State Update(uint32_t ms) override;
    const MatchClient& Client() const override { return client; }

    LinkEvent Poll(std::vector<uint8_t>& data) override;
    void Send(const std::vector<uint8_t>& data, bool reliable) override;
    void Wait(uint32_t ms) override;
    void Close(uint32_t lingerMs) override;
    uint64_t BytesSent() const override;
    uint64_t BytesReceived() const override;
    uint64_t Oversized() const override { return oversized; }
    int SocketHandle() const;

  private:
    explicit MatchTransport(_ENetHost* host);
    void Service(uint32_t ms);

    _ENetHost* host = nullptr;
    _ENetPeer* peer = nullptr;
    MatchClient client;
    uint64_t oversized = 0;
    std::chrono::steady_clock::time_point startedAt;
};

}  // namespace qx::net
