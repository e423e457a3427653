#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "net/InputList.h"
#include "net/Packet.h"

namespace qx::server {

// A room's inputs of both sides from tick 1, as the players sent them, so a
// spectator who comes late can catch up from the start. Each side's ticks
// are kept encoded back to back (an empty tick is one byte) with the offset
// of every 32nd tick to find a tick quickly. Bounded: the first kMaxTicks
// ticks (three hours at 30 ms) and kMaxBytes bytes; past either the room
// stops recording and says so (Full).
class InputHistory {
  public:
    static constexpr uint32_t kMaxTicks = 360'000;
    static constexpr size_t kMaxBytes = 8u << 20;
    static constexpr uint32_t kIndexStep = 32;

    // The side's inputs for `tick`; taken only as the next tick of that
    // side (false otherwise, or when full).
    bool Add(net::NetSide side, uint32_t tick, const net::InputList& list);
    uint32_t Known(net::NetSide side) const { return known[Index(side)]; }
    // The last tick with both sides' inputs.
    uint32_t Confirmed() const;
    bool Full() const { return full; }
    // Records nothing more (as when full).
    void Stop() { full = true; }
    size_t Bytes() const;

    // Appends the encoded inputs of `side` for ticks from `first`, at most
    // `count` of them and none past `through`; returns how many.
    uint32_t Read(net::NetSide side, uint32_t first, uint32_t count, uint32_t through,
                  std::vector<uint8_t>& out) const;

  private:
    static size_t Index(net::NetSide side) { return side == net::NetSide::Emperor ? 0 : 1; }

    std::array<std::vector<uint8_t>, 2> bytes;
    std::array<std::vector<uint32_t>, 2> index;  // offset of tick k * kIndexStep + 1
    std::array<uint32_t, 2> known{};
    bool full = false;
};

}  // namespace qx::server
