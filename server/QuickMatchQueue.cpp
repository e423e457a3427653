#include "server/QuickMatchQueue.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qx::server {

double QuickMatchQueue::Window(uint64_t waitedMs) {
    if (waitedMs >= kAnyoneAfterMs) return std::numeric_limits<double>::infinity();
    const uint64_t steps = waitedMs / kWidenEveryMs;  // whole steps only
    return kStartWindow + kWidenBy * static_cast<double>(steps);
}

void QuickMatchQueue::Add(const std::string& code, double rating, uint64_t nowMs) {
    Remove(code);
    waiting.push_back({code, rating, nowMs});
}

void QuickMatchQueue::Remove(const std::string& code) {
    waiting.erase(std::remove_if(waiting.begin(), waiting.end(),
                                 [&](const Waiting& w) { return w.code == code; }),
                  waiting.end());
}

std::string QuickMatchQueue::Pick(double rating, uint64_t nowMs) const {
    const Waiting* best = nullptr;
    double bestGap = 0;
    for (const Waiting& w : waiting) {
        const double gap = std::fabs(w.rating - rating);
        if (gap > Window(nowMs > w.since ? nowMs - w.since : 0)) continue;
        // Strictly closer only: the earlier of two equally close ones stays.
        if (!best || gap < bestGap) {
            best = &w;
            bestGap = gap;
        }
    }
    return best ? best->code : std::string();
}

}  // namespace qx::server
