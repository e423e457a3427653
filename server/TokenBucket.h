#pragma once

#include <cstdint>

namespace qx::server {

// A rate limit: `perSecond` tokens come back each second up to `burst`;
// each allowed event takes some.
class TokenBucket {
  public:
    TokenBucket(double perSecond, double burst) : rate(perSecond), burst(burst), tokens(burst) {}

    // Takes `cost` tokens at `nowMs` if there are that many.
    bool Take(uint64_t nowMs, double cost = 1);
    // Whether `cost` tokens could be taken now (takes nothing).
    bool Has(uint64_t nowMs, double cost = 1);
    // Whether the bucket has refilled completely (nothing to remember).
    bool Full(uint64_t nowMs);

  private:
    void Refill(uint64_t nowMs);

    double rate;
    double burst;
    double tokens;
    uint64_t last = 0;
    bool started = false;
};

}  // namespace qx::server
