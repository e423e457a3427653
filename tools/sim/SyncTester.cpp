#include "tools/sim/SyncTester.h"

namespace qx::sim {

void SyncTester::Begin(const GameState& start) {
    base = start;
    steps.clear();
}

bool SyncTester::Check(int64_t tick, const StepInputs& step, const GameState& after) {
    steps.push_back({step, after});
    while (static_cast<int32_t>(steps.size()) > depth) {
        base = steps.front().after;
        steps.pop_front();
    }
    GameState state = base;
    for (const Kept& kept : steps) RunStep(state, kept.step);
    if (Checksum(state) == Checksum(after) && state == after) return true;
    failure = "sync test: tick " + std::to_string(tick) + " differs when run again from " +
              std::to_string(steps.size()) + " ticks back: " + FirstDifference(after, state);
    return false;
}

}  // namespace qx::sim
