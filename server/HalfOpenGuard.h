#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct _ENetHost;
struct _ENetPeer;
struct _ENetEvent;

namespace qx::server {

// Keeps ENet's half-open connects in bounds: peers whose connect ENet has
// answered but whose client never acknowledged the answer. A connect from a
// forged source address leaves one behind; left to itself ENet keeps it 15 s
// or more and resends its answer five times, so a flood of them fills the
// peer table and turns the server into a reflector. The guard
// - keeps at most kMaxHalfOpen of them, dropping the oldest to make room
//   for a new connect (and whenever the table shown to ENet has no free
//   slot left);
// - lets each go kHalfOpenMs after its connect;
// - answers a connect once: the acknowledgement ENet would add to its
//   answer is left out (a client's ENet takes the answer itself as one),
//   and the answer is sent again only when the same connect comes again
//   (its answer was lost) or the client sends to the peer the answer named
//   (its acknowledgement was lost), so a forged source never gets more bytes
//   back than it sent.
// It watches the datagrams through the host's intercept (ENet has room for
// one callback and no user data, so guards are found by their host).
class HalfOpenGuard {
  public:
    static constexpr size_t kMaxHalfOpen = 1000;  // a quarter of the server's table
    static constexpr uint32_t kHalfOpenMs = 2000;

    HalfOpenGuard(_ENetHost& host, size_t maxPeers);
    ~HalfOpenGuard();
    HalfOpenGuard(const HalfOpenGuard&) = delete;
    HalfOpenGuard& operator=(const HalfOpenGuard&) = delete;

    // Lets go of connects older than kHalfOpenMs and holds back ENet's own
    // resends of the answers to the others; run every few milliseconds.
    void Sweep();
    // Half-open connects dropped so far (the oldest, or too old).
    uint64_t Dropped() const { return dropped; }

  private:
    // Which connect a peer slot held when the guard first saw it half-open.
    struct Slot {
        uint32_t connectId = 0;
        uint32_t host = 0;
        uint16_t port = 0;
        uint32_t since = 0;  // ENet's clock, ms
        bool seen = false;
    };

    static int Intercept(_ENetHost* host, _ENetEvent* event);
    void OnConnect(uint32_t connectId, uint32_t now);
    Slot& Track(size_t index, uint32_t now);
    void Drop(_ENetPeer& peer);

    _ENetHost& host;
    size_t maxPeers;
    std::vector<Slot> slots;
    uint64_t dropped = 0;
};

}  // namespace qx::server
