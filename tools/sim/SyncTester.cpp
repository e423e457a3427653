#include "tools/sim/SyncTester.h"

#include "game/GameRules.h"
#include "tools/sim/SimHost.h"

namespace qx::sim {

void SyncTester::Begin(const GameState& start) {
    base = start;
    steps.clear();
}

bool SyncTester::Check(int64_t tick, const std::vector<GameInput>& inputs, const GameState& after) {
    steps.push_back({inputs, after});
    while (static_cast<int32_t>(steps.size()) > depth) {
        base = steps.front().after;
        steps.pop_front();
    }
    GameState state = base;
    SimHost quiet;
    for (const Step& step : steps) {
        GameRules rules(state, quiet, nullptr);
        for (const GameInput& input : step.inputs) rules.Apply(input);
        if (state.timerRunning) rules.Tick();
    }
    if (Checksum(state) == Checksum(after) && state == after) return true;
    failure = "sync test: tick " + std::to_string(tick) + " differs when run again from " +
              std::to_string(steps.size()) + " ticks back: " + FirstDifference(after, state);
    return false;
}

}  // namespace qx::sim
