#include "net/Replay.h"

namespace qx {

int64_t Replay::EventCount() const {
    int64_t count = 0;
    for (const ReplayTick& t : ticks)
        count += static_cast<int64_t>(t.before.size() + t.during.size());
    return count;
}

}  // namespace qx
