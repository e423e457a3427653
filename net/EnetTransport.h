#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "net/Transport.h"

struct _ENetHost;
struct _ENetPeer;

namespace qx::net {

// The game's connection over ENet: one UDP port, one other machine,
// channel 0 for the inputs (unsequenced: the game orders them by tick) and
// channel 1 for the reliable messages. ENet is told the largest message the
// game has, so nothing longer is ever buffered.
//
// The game judges by its own packets whether the other machine is still
// there; ENet's own time-out is set far beyond that, so only the game ends a
// game. ENet counts only acknowledgements of reliable messages and doubles
// the wait after each loss, so on a lossy link one message lost five or six
// times in a row (as happens now and then at 20% loss) would otherwise end
// a game over which hundreds of the game's packets still arrive.
//
// A host takes several connections at once and plays with the first that
// says hello in the game's own words; connections that do not finish
// ENet's handshake or say nothing valid within kPendingMs are dropped, so
// a stray or hostile datagram cannot keep the real player out. Once a game
// is on, later machines are told it is full (LinkClose::Full).
class EnetTransport : public Transport {
  public:
    // ENet's time-out for the game's connection: no acknowledgement for
    // this long (the game's silence rule ends a game after 5 s).
    static constexpr uint32_t kTimeoutLimit = 1024;
    static constexpr uint32_t kTimeoutMinMs = 300000;
    static constexpr uint32_t kTimeoutMaxMs = 600000;
    // How long a joining machine has to connect and say hello.
    static constexpr uint32_t kPendingMs = 5000;
    // Connections a host holds at once (the game's and those still pending).
    static constexpr size_t kHostSlots = 16;
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
    // Connections waiting to say hello now (a host's).
    size_t PendingConnections() const;
    // Connections a host dropped or turned away so far.
    uint64_t DroppedConnections() const { return droppedConnections; }

  private:
    struct Pending {
        LinkEvent event;
        std::vector<uint8_t> data;
    };
    // A slot of the host's: which connection it holds and since when.
    struct Slot {
        uint32_t connectId = 0;
        uint64_t since = 0;
    };

    explicit EnetTransport(_ENetHost* host);
    // Services ENet once, waiting up to `ms`; an event for the game goes to
    // `pending`.
    void Service(uint32_t ms);
    void OnConnect(_ENetPeer* from, uint32_t data);
    void OnReceive(_ENetPeer* from, const uint8_t* bytes, size_t size);
    // Drops the host's connections that have been pending too long.
    void Sweep();
    void Turn(_ENetPeer* away, LinkClose reason);

    _ENetHost* host = nullptr;
    _ENetPeer* peer = nullptr;
    std::deque<Pending> pending;
    std::vector<Slot> peerSlots;
    uint64_t oversized = 0;
    uint64_t droppedConnections = 0;
    bool everConnected = false;
    bool listening = false;
};

}  // namespace qx::net
