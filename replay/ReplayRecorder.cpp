#include "replay/ReplayRecorder.h"

namespace qx {

void ReplayRecorder::OnStart(uint32_t seed, PlayerChoice players) {
    *this = ReplayRecorder();
    replay.seed = seed;
    replay.players = players;
    started = true;
    startUpOpen = true;
    lastChecksum = Checksum(GameState::Start(seed, players));
}

void ReplayRecorder::Add(const GameInput& event) {
    if (!started || full) return;
    const auto inTickNow = static_cast<int64_t>(pending.before.size() + pending.after.size());
    if (events >= Replay::kMaxEvents || inTickNow >= Replay::kMaxEventsPerTick) {
        full = true;
        // The tick being answered is not whole: the replay ends before it.
        if (answering) --completedTicks;
        return;
    }
    ++events;
    (answering ? pending.after : pending.before).push_back(event);
}

void ReplayRecorder::OnInput(const GameInput& input) {
    Add(input);
}

// Closes the pending tick: it goes into the replay when it has events, a
// checkpoint is kept on every kCheckpointEvery-th tick, and the next tick
// starts empty.
void ReplayRecorder::Commit(const GameState& after) {
    if (!pending.Empty()) replay.ticks.push_back(std::move(pending));
    lastChecksum = Checksum(after);
    if (completedTicks > 0 && completedTicks % Replay::kCheckpointEvery == 0) {
        replay.checkpoints.push_back({completedTicks, CheckpointSum(lastChecksum)});
    }
    pending = ReplayTick();
    pending.tick = completedTicks + 1;
    answering = false;
}

void ReplayRecorder::EndStartUp(const GameState& now) {
    if (!started || full || !startUpOpen) return;
    startUpOpen = false;
    Commit(now);
}

// Whether a tick may be recorded; the previous one is closed first.
bool ReplayRecorder::BeginTick() {
    if (!started || full) return false;
    if (completedTicks >= Replay::kMaxTicks) {
        full = true;
        return false;
    }
    return true;
}

void ReplayRecorder::OnTickStart(const GameState& before) {
    if (!started || full) return;
    if (startUpOpen) EndStartUp(before);
    if (answering) Commit(before);
    BeginTick();
}

void ReplayRecorder::OnTickEnd(const GameState& after) {
    if (!started || full) return;
    ++completedTicks;
    if (after.wait.Waiting()) {
        answering = true;
        return;
    }
    Commit(after);
}

void ReplayRecorder::EndStep(const GameState& after) {
    if (!started || full || !answering) return;
    Commit(after);
}

void ReplayRecorder::AddStep(const StepInputs& step, const GameState& after) {
    if (!started || full) return;
    if (startUpOpen) EndStartUp(after);
    const auto size = static_cast<int64_t>(step.before.size() + step.after.size());
    if (completedTicks >= Replay::kMaxTicks || events + size > Replay::kMaxEvents ||
        size > Replay::kMaxEventsPerTick) {
        full = true;
        return;
    }
    events += size;
    pending.before = step.before;
    pending.after = step.after;
    ++completedTicks;
    Commit(after);
}

Replay ReplayRecorder::Finish(const GameState& now) const {
    Replay result = replay;
    result.tickCount = completedTicks;
    result.finalChecksum = lastChecksum;
    if (started && (startUpOpen || answering) && !full) {
        if (!pending.Empty()) result.ticks.push_back(pending);
        result.finalChecksum = Checksum(now);
        if (answering && completedTicks % Replay::kCheckpointEvery == 0 && completedTicks > 0) {
            result.checkpoints.push_back({completedTicks, CheckpointSum(result.finalChecksum)});
        }
    }
    return result;
}

}  // namespace qx
