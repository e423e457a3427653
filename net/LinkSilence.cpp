#include "net/LinkSilence.h"

namespace qx::net {

bool LinkSilence::Silent(uint64_t nowMs) {
    const uint64_t bytes = link.BytesReceived();
    if (!started || bytes != lastBytes) Restart(nowMs);
    return Over(nowMs - lastHeard, kSilentMs);
}

void LinkSilence::Restart(uint64_t nowMs) {
    started = true;
    lastBytes = link.BytesReceived();
    lastHeard = nowMs;
}

}  // namespace qx::net
