#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "net/Transport.h"

namespace qx::net {

// A time when the link carries nothing in one or both directions: a burst
// of loss (both) or a one-way blackout. It starts at startMs, lasts
// lengthMs and comes again every everyMs (0: once); Alternate turns it
// toward end 0 the first time, end 1 the next, and so on.
struct LinkOutage {
    enum class Toward { Both, End0, End1, Alternate };
    uint64_t startMs = 0;
    uint32_t lengthMs = 0;
    uint32_t everyMs = 0;
    Toward toward = Toward::Both;
};

// How a simulated link mistreats datagrams.
struct LinkFaults {
    uint32_t minDelayMs = 0;
    uint32_t maxDelayMs = 0;  // each datagram is delayed by a random time in between
    uint32_t dropPercent = 0;
    uint32_t duplicatePercent = 0;
    uint64_t seed = 1;
    std::vector<LinkOutage> outages;
    // A byte stream (a WebSocket over TCP): every message arrives, in order;
    // a lost one comes retransmitMs late and holds everything after it.
    bool stream = false;
    uint32_t retransmitMs = 300;
};

// Two machines' connection inside one process, on a clock the caller moves
// (so hours of play run in minutes and every run is the same): datagrams
// are delayed with jitter (which reorders them), dropped and duplicated as
// the faults say, and lost whole during outages; reliable ones are delayed
// (past any outage) but always arrive, in order. For
// tests and soak runs of network play.
class MemoryLink {
  public:
    explicit MemoryLink(const LinkFaults& faults);
    ~MemoryLink();

    // The two ends; both see Connected first.
    Transport& End(int side);
    void SetTime(uint64_t ms) { now = ms; }
    uint64_t Time() const { return now; }
    uint64_t Dropped() const { return dropped; }
    // Datagrams lost to outages (counted in Dropped() too).
    uint64_t BlackedOut() const { return blackedOut; }

  private:
    class Endpoint;
    struct InFlight {
        uint64_t due;
        uint64_t order;
        std::vector<uint8_t> data;
        bool closing;
    };

    void Carry(int to, const std::vector<uint8_t>& data, bool reliable, bool closing);
    uint32_t Random(uint32_t below);
    // When the outage that cuts off end `to` at `at` ends (0: none does).
    uint64_t OutageEnd(int to, uint64_t at) const;

    LinkFaults faults;
    uint64_t now = 0;
    uint64_t rng;
    uint64_t order = 0;
    uint64_t dropped = 0;
    uint64_t blackedOut = 0;
    uint64_t lastReliableDue[2] = {0, 0};
    std::unique_ptr<Endpoint> ends[2];
};

}  // namespace qx::net
