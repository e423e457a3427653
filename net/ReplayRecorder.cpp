#include "net/ReplayRecorder.h"

namespace qx {

void ReplayRecorder::OnStart(uint32_t seed, PlayerChoice players) {
    *this = ReplayRecorder();
    replay.seed = seed;
    replay.players = players;
    started = true;
    startUpOpen = true;
    lastChecksum = Checksum(GameState::Start(seed, players));
}

void ReplayRecorder::Add(const ReplayEvent& event) {
    if (!started || full) return;
    const auto inTickNow = static_cast<int64_t>(pending.before.size() + pending.during.size());
    if (events >= Replay::kMaxEvents || inTickNow >= Replay::kMaxEventsPerTick) {
        full = true;
        return;
    }
    ++events;
    (inTick ? pending.during : pending.before).push_back(event);
}

void ReplayRecorder::OnInput(const GameInput& input) {
    Add(ReplayEvent::Of(input));
}

void ReplayRecorder::OnEndOfGameClosed() {
    Add(ReplayEvent::EndOfGame());
}

void ReplayRecorder::OnDialogAnswer(PlayerChoice players) {
    Add(ReplayEvent::Answer(players));
}

// Closes the pending tick: it goes into the replay when it has events, and
// the next tick starts empty.
void ReplayRecorder::Commit(const GameState& after) {
    if (!pending.Empty()) replay.ticks.push_back(std::move(pending));
    lastChecksum = Checksum(after);
    pending = ReplayTick();
    pending.tick = completedTicks + 1;
    inTick = false;
}

void ReplayRecorder::EndStartUp(const GameState& now) {
    if (!started || full || !startUpOpen) return;
    startUpOpen = false;
    Commit(now);
}

void ReplayRecorder::OnTickStart(const GameState& before) {
    if (!started || full) return;
    if (startUpOpen) EndStartUp(before);
    if (completedTicks >= Replay::kMaxTicks) {
        full = true;
        return;
    }
    inTick = true;
}

void ReplayRecorder::OnTickEnd(const GameState& after) {
    if (!started || full || !inTick) return;
    ++completedTicks;
    Commit(after);
}

void ReplayRecorder::OnIdleTick(const GameState& after) {
    if (!started || full) return;
    if (startUpOpen) EndStartUp(after);
    if (completedTicks >= Replay::kMaxTicks) {
        full = true;
        return;
    }
    ++completedTicks;
    Commit(after);
}

Replay ReplayRecorder::Finish(const GameState& now) const {
    Replay result = replay;
    result.tickCount = completedTicks;
    result.finalChecksum = lastChecksum;
    if (started && startUpOpen && !full) {
        if (!pending.Empty()) result.ticks.push_back(pending);
        result.finalChecksum = Checksum(now);
    }
    return result;
}

}  // namespace qx
