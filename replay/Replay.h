#pragma once

#include <cstdint>
#include <vector>

#include "game/GameInput.h"
#include "game/GameState.h"
#include "game/PlayerChoice.h"

namespace qx {

// The events of one tick of a replay, in the order the game took them: the
// inputs before the timer tick, then (after the tick) the answers to a window
// the tick opened and what came while it was open. Tick 0 is the start-up:
// its events are applied after GameState::Start and no timer tick follows.
// A timer tick while the game waits for an answer does nothing, so a window
// may also be answered by an event of a later tick.
struct ReplayTick {
    int64_t tick = 0;
    std::vector<GameInput> before;
    std::vector<GameInput> after;

    bool operator==(const ReplayTick&) const = default;
    bool Empty() const { return before.empty() && after.empty(); }
};

// The low 32 bits of the state's checksum after a tick, kept at regular
// ticks so that a replay that parts from its game is found where it parts.
struct ReplayCheckpoint {
    int64_t tick = 0;
    uint32_t sum = 0;

    bool operator==(const ReplayCheckpoint&) const = default;
};

// A whole recorded game: how it started, every event of every tick and the
// checksum of the state after the last tick. Ticks without events are left
// out of `ticks`, which is in increasing order of tick.
struct Replay {
    // The version the game writes (docs/replay-format.md); it reads 1 too.
    static constexpr int kVersion = 2;
    static constexpr int kOldestVersion = 1;
    // Version 2 keeps a checkpoint after every tick that is a multiple of
    // this (about every 2 seconds of play).
    static constexpr int64_t kCheckpointEvery = 60;
    // Bounds that keep a replay, and the memory and time it takes, small: a
    // day of play at 30 ms a tick, a few hours of constant mouse movement.
    static constexpr int64_t kMaxTicks = 24LL * 60 * 60 * 1000 / 30;
    static constexpr int64_t kMaxEvents = 2'000'000;
    static constexpr int64_t kMaxEventsPerTick = 65'536;
    // No replay file the game writes comes near these.
    static constexpr int64_t kMaxFileBytes = 64LL << 20;
    static constexpr int64_t kMaxLineBytes = 4LL << 20;

    int version = kVersion;
    uint32_t seed = 0;
    PlayerChoice players;  // as given to GameState::Start
    int64_t tickCount = 0;
    std::vector<ReplayTick> ticks;
    std::vector<ReplayCheckpoint> checkpoints;  // version 2: one for every kCheckpointEvery ticks
    uint64_t finalChecksum = 0;
    // The line of the file's digest when the file's content does not match
    // it (a damaged file), 0 when it matched or the file had none. CheckReplay
    // refuses such a replay, after playing it to name the tick where it parts
    // from its game if it does.
    int64_t damagedDigestLine = 0;

    bool operator==(const Replay&) const = default;
    int64_t EventCount() const;
};

// The checksum a replay of `version` carries for a state: version 1 was
// written before the state recorded what the game waits for.
uint64_t ReplayChecksum(int version, const GameState& state);

// The checkpoint's sum for a checksum.
constexpr uint32_t CheckpointSum(uint64_t checksum) {
    return static_cast<uint32_t>(checksum);
}

}  // namespace qx
