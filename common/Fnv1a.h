#pragma once

#include <cstdint>
#include <string_view>

namespace qx {

// The 64-bit FNV-1a hash, fed byte by byte. Each step is a one-to-one map of
// the hash for a given byte, so a single byte changed anywhere always changes
// the result (and any other change does with a chance of 2^-64 to miss).
class Fnv1a {
  public:
    constexpr void Add(uint8_t byte) { hash = (hash ^ byte) * kPrime; }
    constexpr void Add(std::string_view bytes) {
        for (const char c : bytes) Add(static_cast<uint8_t>(c));
    }
    constexpr uint64_t Value() const { return hash; }

  private:
    static constexpr uint64_t kOffset = 0xCBF29CE484222325ull;
    static constexpr uint64_t kPrime = 0x100000001B3ull;
    uint64_t hash = kOffset;
};

}  // namespace qx
