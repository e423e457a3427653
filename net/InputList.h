#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "game/GameInput.h"

namespace qx::net {

// One side's inputs for one tick, in the order they are applied: a fixed
// number at most, held in place (a packet full of them never allocates).
class InputList {
  public:
    static constexpr size_t kCapacity = 16;

    // Adds an input; false (and nothing added) when the list is full.
    bool Add(const GameInput& input);
    // Adds a steering target, replacing an earlier target of the same tick in
    // place: a target and a shot request do not depend on each other, so only
    // the last target of a tick changes anything.
    bool AddTarget(int32_t x, int32_t y);
    void Clear();

    size_t Size() const { return size; }
    bool Empty() const { return size == 0; }
    const GameInput& operator[](size_t i) const { return items[i]; }
    const GameInput* begin() const { return items.data(); }
    const GameInput* end() const { return items.data() + size; }

    bool operator==(const InputList& other) const;

  private:
    std::array<GameInput, kCapacity> items{};
    uint8_t size = 0;
};

}  // namespace qx::net
