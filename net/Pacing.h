#pragma once

#include <cstdint>

#include "net/LinkStats.h"

namespace qx::net {

// How this machine keeps pace with the other one: the input delay the
// round trip calls for (inputs made at tick t are for tick t + 1 + delay;
// looked at every 2 s, changed once two readings agree), and whether to
// skip a tick because this machine runs ahead (at most one in ten). Each
// packet tells how far the other machine is and how far ahead it thinks it
// is; half the round trip later it is further on by that much.
class Pacing {
  public:
    static constexpr uint32_t kTickMs = 30;
    static constexpr uint64_t kDelayCheckMs = 2000;
    static constexpr uint32_t kMinTicksBetweenWaits = 10;

    // No delay below 40 ms of round trip, one tick below 100 ms, else two.
    static uint32_t DelayFor(double rttMs);

    // A new game: this input delay, the delay checks counted from `nowMs`.
    void Begin(uint32_t delay, uint64_t nowMs);
    // What the other machine's packet said: its latest tick (already held
    // to what it can have run) and its lead.
    void NoteRemote(uint32_t currentTick, int8_t advantage);
    // The other machine's tick now, as far as this one can tell.
    int64_t RemoteNow(const LinkStats& link) const;
    // How many ticks this machine is ahead of the other (for its packets).
    int8_t Advantage(uint32_t current, const LinkStats& link) const;
    // Whether to skip this tick; counts the skip.
    bool ShouldWait(uint32_t current, const LinkStats& link);
    // Looks at the round trip every kDelayCheckMs.
    void Update(uint64_t nowMs, const LinkStats& link);
    uint32_t Delay() const { return delay; }

  private:
    uint32_t remoteCurrent = 0;
    int8_t remoteAdvantage = 0;
    uint32_t delay = 1;
    uint32_t wantedDelay = 1;
    uint32_t delayVotes = 0;
    uint64_t lastDelayCheck = 0;
    uint32_t lastWaitTick = 0;
};

}  // namespace qx::net
