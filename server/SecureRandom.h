#pragma once

#include <cstdint>

namespace qx::server {

// Numbers from the system's secure random source (getrandom), for invite
// codes nobody can predict and seeds nobody chose.
class SecureRandom {
  public:
    virtual ~SecureRandom() = default;
    // Fills `size` bytes; aborts the program if the system has no source.
    virtual void Fill(uint8_t* data, uint64_t size);
    uint64_t Bits(int count);
};

}  // namespace qx::server
