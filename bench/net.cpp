// Network play's costs: a rollback of eight ticks (the snapshot restored,
// eight ticks run again without drawing, and the whole picture drawn from
// the state at 1920x1080, as the window shows it), the same without the
// picture, and the bytes each machine sends per second of play over a bad
// link (0-150 ms, 10% lost, 5% doubled), both players making inputs at
// random, 30 ms ticks on a virtual clock; and what one tick of a network
// game costs through the driver every host runs (NetGame: reading the link,
// taking and sending the inputs, the tick, the confirmations and the replay).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "net/RandomPlayer.h"
#include "net/RollbackSession.h"
#include "net/VirtualMatch.h"

namespace {

using qx::net::InputList;
using qx::net::NetSide;
using qx::net::RollbackSession;

// A session of the Emperor's machine well into a game, eight ticks ahead of
// the Rebel's inputs.
std::unique_ptr<RollbackSession> EightTicksAhead(int width, int height) {
    qx::net::SessionOptions options;
    options.seed = 4242;
    auto session = std::make_unique<RollbackSession>(options);
    session->GetGame().SetClientSize(width, height);
    qx::net::RandomPlayer emperor(NetSide::Emperor, 1);
    qx::net::RandomPlayer rebel(NetSide::Rebel, 2);
    session->SetRemoteDismissedEnd(qx::net::kMaxTick);  // ended games go on at once
    for (uint32_t tick = 1; tick <= 2000; ++tick) {
        session->DismissEnd();
        session->ReleaseLocalInputs(tick > 8 ? tick - 8 : 0);  // acknowledged by the other machine
        session->AddLocalInput(emperor.InputsFor(tick));
        if (tick <= 2000 - RollbackSession::kDefaultPrediction) {
            session->AddRemoteInput(tick, rebel.InputsFor(tick));
        }
        session->Advance();
    }
    if (session->CurrentTick() != 2000 || session->ConfirmedTick() != 1992) {
        std::fprintf(stderr, "setup reached tick %u, confirmed %u\n", session->CurrentTick(),
                     session->ConfirmedTick());
        std::abort();
    }
    return session;
}

void BM_RollbackEightTicks(benchmark::State& state) {
    const bool picture = state.range(0) != 0;
    auto session = EightTicksAhead(1920, 1080);
    const uint32_t from = session->CurrentTick() - 7;
    for (auto _ : state) {
        session->RunAgainFrom(from, picture);
        benchmark::DoNotOptimize(session->GetGame().Screen().Data());
    }
}
BENCHMARK(BM_RollbackEightTicks)
    ->Arg(1)
    ->Arg(0)
    ->ArgNames({"picture1920x1080"})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_BytesPerSecondOnABadLink(benchmark::State& state) {
    qx::net::VirtualMatchOptions options;
    options.faults.maxDelayMs = 150;
    options.faults.dropPercent = 10;
    options.faults.duplicatePercent = 5;
    options.ticks = 6000;
    qx::net::RandomPlayer emperor(NetSide::Emperor, 5);
    qx::net::RandomPlayer rebel(NetSide::Rebel, 6);
    double seconds = 0;
    uint64_t sent[2] = {0, 0};
    for (auto _ : state) {
        qx::net::VirtualMatch match(options, [&](int index, uint32_t tick) {
            return index == 0 ? emperor.InputsFor(tick) : rebel.InputsFor(tick);
        });
        match.Run(3'600'000);
        seconds = static_cast<double>(match.Now()) / 1000;
        for (int i = 0; i < 2; ++i) sent[i] = match.Peer(i).Figures().bytesSent;
    }
    state.counters["emperor_bytes_per_s"] = static_cast<double>(sent[0]) / seconds;
    state.counters["rebel_bytes_per_s"] = static_cast<double>(sent[1]) / seconds;
}
BENCHMARK(BM_BytesPerSecondOnABadLink)->Unit(benchmark::kMillisecond)->Iterations(1);

// Two machines on a clean link in one process, as fast as the link allows:
// the time per tick of one machine (both machines' work over both machines'
// ticks), the picture not drawn (no window size given).
void BM_NetGameTick(benchmark::State& state) {
    constexpr uint32_t kTicks = 600;
    qx::net::VirtualMatchOptions options;
    options.ticks = kTicks;
    options.tickMs = 0;
    options.keepChecksums = false;
    for (auto _ : state) {
        qx::net::RandomPlayer emperor(NetSide::Emperor, 5);
        qx::net::RandomPlayer rebel(NetSide::Rebel, 6);
        qx::net::VirtualMatch match(options, [&](int index, uint32_t tick) {
            return index == 0 ? emperor.InputsFor(tick) : rebel.InputsFor(tick);
        });
        match.Run(600'000);
        if (match.Peer(0).End() != qx::net::PeerEnd::Done) state.SkipWithError("game not done");
    }
    state.counters["per_tick"] = benchmark::Counter(
        2.0 * kTicks, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_NetGameTick)->Unit(benchmark::kMillisecond);

}  // namespace
