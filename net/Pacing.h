#pragma once

#include <cstdint>

#include "net/LinkStats.h"

namespace qx::net {

// How this machine keeps pace with the other one: the input delay the link
// calls for (inputs made at tick t are for tick t + 1 + delay; looked at
// every 2 s, changed once two readings agree), how many ticks the session
// may run ahead of the other side's inputs before it waits (the prediction
// budget), and whether to skip a tick because this machine runs ahead (at
// most one in ten). Each packet tells how far the other machine is and how
// far ahead it thinks it is; half the round trip after it was sent, and as
// many ticks as have passed since it came, the other machine is further on
// (a stream's held segment would otherwise make it look far behind). A single packet's figure
// strays by the link's jitter, so the skip follows their average over some 16 ticks.
class Pacing {
  public:
    static constexpr uint32_t kTickMs = 30;
    static constexpr uint64_t kDelayCheckMs = 2000;
    static constexpr uint32_t kMinTicksBetweenWaits = 10;
    static constexpr uint32_t kMaxDelay = 2;

    // The delay that covers half the round trip and its jitter less one
    // tick: none on a LAN, at most kMaxDelay (60 ms more that the player
    // feels; later inputs are the rollback's to hide).
    static uint32_t DelayFor(double rttMs, double jitterMs = 0);
    // The prediction budget: as many ticks as the longest recent round trip
    // lasts, less the delay, from the session's default to its most.
    static uint32_t PredictionFor(double peakRttMs, uint32_t delay);

    // A new game: this input delay, the delay checks counted from `nowMs`.
    void Begin(uint32_t delay, uint64_t nowMs);
    // What the other machine's packet that came at `nowMs` said: its latest
    // tick (already held to what it can have run) and its lead.
    void NoteRemote(uint32_t currentTick, int8_t advantage, uint64_t nowMs);
    // The other machine's tick at `nowMs`, as far as this one can tell.
    int64_t RemoteNow(const LinkStats& link, uint64_t nowMs) const;
    // How many ticks this machine is ahead of the other (for its packets).
    int8_t Advantage(uint32_t current, const LinkStats& link, uint64_t nowMs) const;
    // Whether to skip this tick; counts the skip. Called once per tick.
    bool ShouldWait(uint32_t current, const LinkStats& link, uint64_t nowMs);
    // Looks at the round trip every kDelayCheckMs; the budget every time.
    void Update(uint64_t nowMs, const LinkStats& link);
    uint32_t Delay() const { return delay; }
    uint32_t Prediction() const { return prediction; }

  private:
    uint32_t remoteCurrent = 0;
    uint64_t remoteCurrentAt = 0;  // when the packet that told it came
    int8_t remoteAdvantage = 0;
    uint32_t delay = 1;
    uint32_t wantedDelay = 1;
    uint32_t delayVotes = 0;
    uint32_t prediction = 8;
    uint64_t lastDelayCheck = 0;
    uint32_t lastWaitTick = 0;
    uint32_t lastLookedAt = 0;
    double lead = 0;  // the average of (this side's lead - the other's) over recent ticks
};

}  // namespace qx::net
