#include "tools/sim/ConfirmedRecorder.h"

#include "tools/sim/TraceWriter.h"

namespace qx::sim {
namespace {

void CountWins(int32_t now, int32_t& last, int64_t& total) {
    if (now > last) total += now - last;
    last = now;
}

}  // namespace

void ConfirmedRecorder::Begin(uint32_t seed, const net::Frame& start) {
    summary.checksum = start.checksum;
    if (trace) *trace << TraceLine(0, start.state) << '\n';
    replay.Begin(seed, start.state);
}

void ConfirmedRecorder::OnConfirmed(uint32_t tick, const net::Frame& frame) {
    replay.Add(frame);
    summary.ticks = tick;
    if (frame.ended) ++summary.gamesEnded;
    CountWins(frame.state.emperor.Wins(), lastEmperorWins, summary.emperorWins);
    CountWins(frame.state.rebel.Wins(), lastRebelWins, summary.rebelWins);
    summary.checksum = frame.checksum;
    if (trace) *trace << TraceLine(tick, frame.state) << '\n';
}

}  // namespace qx::sim
