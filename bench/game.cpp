// The game's per-frame costs: one whole tick (rules and drawing) in a small
// and a large window, one full repaint, a snapshot and restore of the state,
// a re-run of eight ticks without drawing (what a rollback does), and the
// picture drawn from a state alone. Computer against computer, after a
// warm-up so the ships are in the thick of it.
#include <benchmark/benchmark.h>

#include <memory>

#include "game/Game.h"
#include "game/GameRules.h"

namespace {

// A computer-against-computer game started as the window starts one and run
// for a while.
std::unique_ptr<qx::Game> WarmGame(int width, int height) {
    auto game = std::make_unique<qx::Game>();
    game->SetClientSize(width, height);
    game->Start(12345, {false, false});
    game->Apply(qx::GameInput::Repaint());
    game->Apply(qx::GameInput::NewGame(qx::PlayerChoice{false, false}));
    for (int i = 0; i < 2000; ++i) game->Tick();
    return game;
}

void BM_Tick(benchmark::State& state) {
    auto game = WarmGame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        game->Tick();
        benchmark::DoNotOptimize(game->Screen().Data());
    }
}
BENCHMARK(BM_Tick)
    ->Args({600, 400})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_FullRepaint(benchmark::State& state) {
    auto game = WarmGame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        game->Repaint();
        benchmark::DoNotOptimize(game->Screen().Data());
    }
}
BENCHMARK(BM_FullRepaint)
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SnapshotRestore(benchmark::State& state) {
    auto game = WarmGame(600, 400);
    qx::GameState live = game->State();
    for (auto _ : state) {
        qx::GameState snapshot = live;
        benchmark::DoNotOptimize(snapshot);
        live = snapshot;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SnapshotRestore)->Unit(benchmark::kNanosecond);

// Restore a snapshot and run eight ticks without drawing.
void BM_RerunEightTicks(benchmark::State& state) {
    auto game = WarmGame(600, 400);
    const qx::GameState snapshot = game->State();
    qx::GameState live;
    for (auto _ : state) {
        live = snapshot;
        qx::GameRules rules(live, nullptr);
        for (int i = 0; i < 8; ++i) rules.Tick();
        benchmark::DoNotOptimize(live);
    }
}
BENCHMARK(BM_RerunEightTicks)->Unit(benchmark::kMicrosecond);

// The whole picture from the state alone (what a window shows after a
// rollback or an exposure in a network game).
void BM_StatePicture(benchmark::State& state) {
    auto game = WarmGame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        game->ShowState();
        benchmark::DoNotOptimize(game->Screen().Data());
    }
}
BENCHMARK(BM_StatePicture)->Args({1920, 1080})->Unit(benchmark::kMillisecond);

void BM_Checksum(benchmark::State& state) {
    auto game = WarmGame(600, 400);
    for (auto _ : state) benchmark::DoNotOptimize(qx::Checksum(game->State()));
}
BENCHMARK(BM_Checksum)->Unit(benchmark::kNanosecond);

}  // namespace
