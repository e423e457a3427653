#pragma once

#include <array>
#include <boost/asio/io_context.hpp>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/MatchClient.h"
#include "net/RandomPlayer.h"
#include "tools/loadgen/EnetLink.h"
#include "tools/loadgen/WsTransport.h"

namespace qx::loadgen {

// One simulated player of the load test: it connects over ENet or
// WebSocket, creates or joins a room, goes through the game's hello and
// start, then sends one real input packet per tick (its side's random
// inputs) and times each packet of the other player from the moment that
// one sent it (both live in this process) to its arrival.
class LoadPlayer {
  public:
    using Clock = std::function<uint64_t()>;  // microseconds
    using Latency = std::function<void(uint64_t micros)>;

    LoadPlayer(boost::asio::io_context& io, EnetClientHost& enetHost, bool webSocket,
               const std::string& host, uint16_t port, const net::MatchRequest& request,
               Clock clock, Latency latency);
    ~LoadPlayer();

    void SetOther(LoadPlayer* other) { this->other = other; }
    // Packets sent while `*flag` holds count toward the measured seconds.
    void SetWindow(const bool* flag) { window = flag; }
    // Reads what has arrived and acts on it.
    void Drain();
    // Sends the input packet of the next tick (once the game has started).
    void SendTick();

    net::MatchClient::State State();
    const net::MatchClient& Client() const;
    bool Started() const { return started; }
    bool Left() const { return left; }
    uint64_t Sent() const { return sent; }
    uint64_t Received() const { return received; }
    // Of these, the packets sent during the measured seconds, and those of
    // the other player's measured packets that arrived.
    uint64_t SentInWindow() const { return sentInWindow; }
    uint64_t ReceivedInWindow() const { return receivedInWindow; }
    // When this player sent its packet with `sequence` (microseconds).
    uint64_t SentAt(uint32_t sequence) const { return sentAt[sequence % sentAt.size()]; }
    bool SentInWindow(uint32_t sequence) const {
        return sentInWindowAt[sequence % sentInWindowAt.size()];
    }

  private:
    void OnPacket(const std::vector<uint8_t>& bytes);

    std::unique_ptr<EnetLink> enet;
    std::unique_ptr<WsTransport> ws;
    net::Transport* transport = nullptr;
    Clock clock;
    Latency latency;
    LoadPlayer* other = nullptr;
    net::NetSide side = net::NetSide::Emperor;
    net::RandomPlayer inputs;
    std::array<uint64_t, 4096> sentAt{};
    std::array<bool, 4096> sentInWindowAt{};
    const bool* window = nullptr;
    uint32_t sequence = 0;
    uint32_t tick = 0;
    uint32_t remoteTick = 0;
    uint64_t sent = 0;
    uint64_t received = 0;
    uint64_t sentInWindow = 0;
    uint64_t receivedInWindow = 0;
    bool started = false;
    bool left = false;
};

}  // namespace qx::loadgen
