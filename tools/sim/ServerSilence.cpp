#include "tools/sim/ServerSilence.h"

namespace qx::sim {

bool ServerSilence::Silent(uint64_t nowMs) {
    const uint64_t bytes = link.BytesReceived();
    if (!started || bytes != lastBytes) {
        started = true;
        lastBytes = bytes;
        lastHeard = nowMs;
    }
    return nowMs - lastHeard >= kSilentMs;
}

}  // namespace qx::sim
