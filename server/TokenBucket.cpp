#include "server/TokenBucket.h"

#include <algorithm>

namespace qx::server {

void TokenBucket::Refill(uint64_t nowMs) {
    if (!started) {
        started = true;
        last = nowMs;
        return;
    }
    if (nowMs <= last) return;
    tokens = std::min(burst, tokens + rate * static_cast<double>(nowMs - last) / 1000.0);
    last = nowMs;
}

bool TokenBucket::Take(uint64_t nowMs, double cost) {
    Refill(nowMs);
    if (tokens < cost) return false;
    tokens -= cost;
    return true;
}

bool TokenBucket::Has(uint64_t nowMs, double cost) {
    Refill(nowMs);
    return tokens >= cost;
}

bool TokenBucket::Full(uint64_t nowMs) {
    Refill(nowMs);
    return tokens >= burst;
}

}  // namespace qx::server
