#pragma once

#include <cstdint>
#include <ostream>

#include "net/NetReplayRecorder.h"
#include "net/RollbackSession.h"
#include "tools/sim/Simulator.h"

namespace qx::sim {

// Writes a network game's confirmed ticks: the trace, the wins, the games
// ended, the final checksum and the replay. Players and spectators use the
// same one, so their traces and replays come out the same.
class ConfirmedRecorder : public net::ConfirmedListener {
  public:
    ConfirmedRecorder(SimSummary& summary, std::ostream* trace) : summary(summary), trace(trace) {}

    // The game's start: `start` is the session's frame of tick 0.
    void Begin(uint32_t seed, const net::Frame& start);
    Replay Finish() const { return replay.Finish(); }

    void OnConfirmed(uint32_t tick, const net::Frame& frame) override;

  private:
    SimSummary& summary;
    std::ostream* trace;
    int32_t lastEmperorWins = 0;
    int32_t lastRebelWins = 0;
    net::NetReplayRecorder replay;
};

}  // namespace qx::sim
