#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "net/Transport.h"

namespace qx::net {

// How a simulated link mistreats datagrams.
struct LinkFaults {
    uint32_t minDelayMs = 0;
    uint32_t maxDelayMs = 0;  // each datagram is delayed by a random time in between
    uint32_t dropPercent = 0;
    uint32_t duplicatePercent = 0;
    uint64_t seed = 1;
};

// Two machines' connection inside one process, on a clock the caller moves
// (so hours of play run in minutes and every run is the same): datagrams
// are delayed with jitter (which reorders them), dropped and duplicated as
// the faults say; reliable ones are delayed but always arrive, in order. For
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

    LinkFaults faults;
    uint64_t now = 0;
    uint64_t rng;
    uint64_t order = 0;
    uint64_t dropped = 0;
    uint64_t lastReliableDue[2] = {0, 0};
    std::unique_ptr<Endpoint> ends[2];
};

}  // namespace qx::net
