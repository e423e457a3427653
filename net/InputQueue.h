#pragma once

#include <array>
#include <cstdint>

#include "net/InputList.h"

namespace qx::net {

// One side's input lists by tick, without gaps: tick 1, 2, 3... are added
// in order and the latest kCapacity of them are kept. Ticks at or below the
// floor are no longer needed; a tick that would push out a needed one is
// refused, so whatever the other machine sends, nothing needed is lost and
// nothing grows.
class InputQueue {
  public:
    static constexpr uint32_t kCapacity = 64;

    // The highest tick held (all ticks from the floor up to it are held);
    // 0 when none was added yet.
    uint32_t KnownThrough() const { return known; }

    // Adds the list of tick KnownThrough() + 1. False (nothing changed) for
    // any other tick, or when the queue is full of needed ticks.
    bool Push(uint32_t tick, const InputList& list);

    // Whether `tick` is held: above the floor's reach and not above
    // KnownThrough().
    bool Holds(uint32_t tick) const;
    // The list of a held tick.
    const InputList& At(uint32_t tick) const { return lists[tick % kCapacity]; }

    // Ticks up to `tick` will not be asked for again.
    void Release(uint32_t tick);
    uint32_t Floor() const { return floor; }

  private:
    std::array<InputList, kCapacity> lists{};
    uint32_t known = 0;
    uint32_t floor = 0;
};

}  // namespace qx::net
