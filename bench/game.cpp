// The game's per-frame costs: one whole tick (rules and drawing) in a small
// and a large window, and one full repaint in a large window. Computer
// against computer, after a warm-up so the ships are in the thick of it.
#include <benchmark/benchmark.h>

#include <memory>

#include "common/Random.h"
#include "game/Game.h"
#include "game/GameHost.h"

namespace {

class BenchHost : public qx::GameHost {
  public:
    uint32_t SetGameTimer() override { return qx::Game::kTimerId; }
    void KillGameTimer() override {}
    void ShowEndOfGame(const std::string&, const std::string&) override {}
    bool RunNewGameDialog(qx::PlayerChoice& choice) override {
        choice = {false, false};  // both sides to the computer
        return true;
    }
};

// A computer-against-computer game started as the window starts one and run
// for a while.
std::unique_ptr<qx::Game> WarmGame(BenchHost& host, int width, int height) {
    qx::RandomSeed(1);
    auto game = std::make_unique<qx::Game>(host);
    qx::RandomSeed(12345);
    game->OnSize(width, height);
    game->StartTimer();
    game->ApplyStoredPlayers(true, true);
    game->CreateWorkBitmaps();
    game->OnPaint();
    game->OnGameNew();
    for (int i = 0; i < 2000; ++i) game->OnTimer();
    return game;
}

void BM_Tick(benchmark::State& state) {
    BenchHost host;
    auto game = WarmGame(host, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        game->OnTimer();
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
    BenchHost host;
    auto game = WarmGame(host, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        game->OnPaint();
        benchmark::DoNotOptimize(game->Screen().Data());
    }
}
BENCHMARK(BM_FullRepaint)
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
