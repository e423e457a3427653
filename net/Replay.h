#pragma once

#include <cstdint>
#include <vector>

#include "game/PlayerChoice.h"
#include "net/ReplayEvent.h"

namespace qx {

// The events of one tick of a replay. Tick 0 is the start-up: its events are
// applied after GameState::Start and no timer tick follows. Every later tick
// applies `before`, then runs the game timer's tick (when the timer runs),
// during which the game takes `during` back from its host: the close of the
// end-of-game box, the answer of the New game dialog, and inputs that came
// while those windows were open.
struct ReplayTick {
    int64_t tick = 0;
    std::vector<ReplayEvent> before;
    std::vector<ReplayEvent> during;

    bool operator==(const ReplayTick&) const = default;
    bool Empty() const { return before.empty() && during.empty(); }
};

// A whole recorded game: how it started, every event of every tick and the
// checksum of the state after the last tick. Ticks without events are left
// out of `ticks`, which is in increasing order of tick.
struct Replay {
    // The version of the file format (docs/replay-format.md).
    static constexpr int kVersion = 1;
    // Bounds that keep a replay, and the memory and time it takes, small: a
    // day of play at 30 ms a tick, a few hours of constant mouse movement.
    static constexpr int64_t kMaxTicks = 24LL * 60 * 60 * 1000 / 30;
    static constexpr int64_t kMaxEvents = 2'000'000;
    static constexpr int64_t kMaxEventsPerTick = 65'536;
    // No replay file the game writes comes near these.
    static constexpr int64_t kMaxFileBytes = 64LL << 20;
    static constexpr int64_t kMaxLineBytes = 4LL << 20;

    uint32_t seed = 0;
    PlayerChoice players;  // as given to GameState::Start
    int64_t tickCount = 0;
    std::vector<ReplayTick> ticks;
    uint64_t finalChecksum = 0;

    bool operator==(const Replay&) const = default;
    int64_t EventCount() const;
};

}  // namespace qx
