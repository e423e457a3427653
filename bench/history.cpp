// The history's costs on the writer's thread: working out a 3,000-tick
// game's result and replay from its inputs, and keeping a game in SQLite.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "net/MatchProtocol.h"
#include "net/RandomPlayer.h"
#include "server/GameOutcome.h"
#include "server/SqliteStore.h"

namespace {

using namespace qx;

// A game of `ticks` with both sides' random inputs, as a room hands it over.
server::FinishedGame RandomGame(uint32_t ticks) {
    server::FinishedGame game;
    game.id = "bench";
    game.code = "7K2M9QXZ";
    game.seed = 42;
    game.agreedTicks = ticks;
    game.quick = true;
    game.players[0] = {"Ada", std::string(64, 'a'), true, false};
    game.players[1] = {"Bob", std::string(64, 'b'), true, false};
    game.confirmed = ticks;
    net::RandomPlayer emperor(net::NetSide::Emperor, 1), rebel(net::NetSide::Rebel, 2);
    for (uint32_t t = 1; t <= ticks; ++t) {
        net::AppendTickInputs(emperor.InputsFor(t), game.inputs[0]);
        net::AppendTickInputs(rebel.InputsFor(t), game.inputs[1]);
    }
    return game;
}

void BM_ResultOf3000Ticks(benchmark::State& state) {
    const server::FinishedGame game = RandomGame(3000);
    for (auto _ : state) benchmark::DoNotOptimize(server::GameOutcome::Of(game));
}
BENCHMARK(BM_ResultOf3000Ticks)->Unit(benchmark::kMillisecond);

void BM_KeepGame(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "qxbench-XXXXXX").string();
    folder = mkdtemp(folder.data());
    server::SqliteStore store(folder + "/history.sqlite");
    std::string error;
    store.Open(error);
    server::FinishedGame game = RandomGame(3000);
    const server::GameOutcome outcome = server::GameOutcome::Of(game);
    int64_t n = 0, id = 0;
    for (auto _ : state) {
        game.id = std::to_string(++n);
        if (!store.Keep(game, outcome, id, error)) state.SkipWithError(error.c_str());
    }
    state.counters["games/s"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsRate);
    store.Close();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_KeepGame)->Unit(benchmark::kMillisecond);

}  // namespace
