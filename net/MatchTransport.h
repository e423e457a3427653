#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "net/MatchProtocol.h"
#include "net/Transport.h"

struct _ENetHost;
struct _ENetPeer;

namespace qx::net {

// What to ask the match server for.
struct MatchRequest {
    enum class Kind { Create, Join, Quick, Watch };
    Kind kind = Kind::Quick;
    NetSide side = NetSide::Emperor;  // Create: the creator's side
    bool hasSeed = false;             // Create: the game's seed (else the server draws it)
    uint32_t seed = 0;
    uint32_t ticks = 0;  // Create, Quick: the game's length wanted (0: no limit)
    std::string code;    // Join, Watch: the invite code as typed
};

// A network game through the match server over ENet: it connects, asks for
// a room (create, join, quick match or watch) and then carries the game's
// packets like EnetTransport, so NetPeer plays through it unchanged. The
// creator of a room (and the first of a quick match) hosts the game with
// the room's seed and side; the other player joins.
//
// The Transport events: for the host Connected when the other player is in
// the room, for a joiner or spectator as soon as the room answers;
// Received for the game's packets (and, for a spectator, the server's feed
// frames, see DecodeFeed); Disconnected when the other player left, the
// spectator's feed is complete, or the server went away.
class MatchTransport : public Transport {
  public:
    enum class State { Connecting, Asking, InRoom, Failed };
    static constexpr uint32_t kConnectMs = 5000;
    static constexpr uint16_t kDefaultPort = 29030;

    // Starts connecting to the server; null with `error` for a bad host or
    // request (an invite code that is no code).
    static std::unique_ptr<MatchTransport> Connect(const std::string& host, uint16_t port,
                                                   const MatchRequest& request,
                                                   std::string& error);
    ~MatchTransport() override;

    // Services the connection, waiting up to `ms`, until the room's answer
    // has come (InRoom) or it failed; game events wait for Poll.
    State Update(uint32_t ms);
    State GetState() const { return state; }
    // The server's answer (Created, Joined or Watching) once InRoom.
    const MatchMessage& Answer() const { return answer; }
    bool Hosting() const { return answer.type == MatchType::Created; }
    bool Spectating() const { return answer.type == MatchType::Watching; }
    // Why it failed: the server's refusal, or unreachable when none.
    bool Refused() const { return refused; }
    MatchError Refusal() const { return refusal; }
    const std::string& Failure() const { return failure; }

    LinkEvent Poll(std::vector<uint8_t>& data) override;
    void Send(const std::vector<uint8_t>& data, bool reliable) override;
    void Wait(uint32_t ms) override;
    void Close(uint32_t lingerMs) override;
    uint64_t BytesSent() const override;
    uint64_t BytesReceived() const override;
    uint64_t Oversized() const override { return oversized; }
    int SocketHandle() const;

  private:
    struct Pending {
        LinkEvent event;
        std::vector<uint8_t> data;
    };

    MatchTransport(_ENetHost* host, const MatchRequest& request);
    void Service(uint32_t ms);
    void OnFrame(const uint8_t* data, size_t size);
    void OnControl(const MatchMessage& message);
    void Fail(const std::string& why);
    void Push(LinkEvent event, std::vector<uint8_t> data = {});

    _ENetHost* host = nullptr;
    _ENetPeer* peer = nullptr;
    MatchRequest request;
    State state = State::Connecting;
    MatchMessage answer;
    bool refused = false;
    MatchError refusal = MatchError::BadRequest;
    std::string failure;
    std::deque<Pending> pending;
    uint64_t oversized = 0;
    std::chrono::steady_clock::time_point startedAt;
};

}  // namespace qx::net
