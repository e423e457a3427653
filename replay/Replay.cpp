#include "replay/Replay.h"

namespace qx {

int64_t Replay::EventCount() const {
    int64_t count = 0;
    for (const ReplayTick& t : ticks)
        count += static_cast<int64_t>(t.before.size() + t.after.size());
    return count;
}

uint64_t ReplayChecksum(int version, const GameState& state) {
    return version == 1 ? ChecksumWithoutWait(state) : Checksum(state);
}

}  // namespace qx
