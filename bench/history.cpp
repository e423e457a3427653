// The history's costs on the writer's thread: working out a 3,000-tick
// game's result and replay from its inputs, and keeping games in each store
// one after another as the writer does (SQLite in a file; PostgreSQL in a
// real server started for the run, fsync on): games written a second and
// the 99th percentile of one game's write.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "net/MatchProtocol.h"
#include "net/RandomPlayer.h"
#include "server/GameOutcome.h"
#include "server/GameStore.h"
#include "tests/support/RealPostgres.h"

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

// Rated 3,000-tick games of the same two players, each in its own
// transaction, as the history's thread keeps them.
void KeepGames(benchmark::State& state, const std::string& location) {
    const auto store = server::GameStore::Make(location);
    std::string error;
    if (store->Open(error) != server::GameStore::OpenResult::Ok) {
        state.SkipWithError(error.c_str());
        return;
    }
    server::FinishedGame game = RandomGame(3000);
    const server::GameOutcome outcome = server::GameOutcome::Of(game);
    static int64_t n = 0;
    int64_t id = 0;
    std::vector<double> ms;
    for (auto _ : state) {
        game.id = std::to_string(++n);
        const auto start = std::chrono::steady_clock::now();
        if (!store->Keep(game, outcome, id, error)) state.SkipWithError(error.c_str());
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    state.counters["games/s"] =
        benchmark::Counter(static_cast<double>(ms.size()), benchmark::Counter::kIsRate);
    state.counters["p99_ms"] = ms.empty() ? 0 : ms[ms.size() * 99 / 100];
}

void BM_KeepGameSqlite(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "qxbench-XXXXXX").string();
    folder = mkdtemp(folder.data());
    KeepGames(state, folder + "/history.sqlite");
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_KeepGameSqlite)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KeepGamePostgres(benchmark::State& state) {
    setenv("QX_PG_FSYNC", "on", 1);  // durable writes, as in production
    static test::RealPostgres postgres;
    if (postgres.Url().empty()) {
        state.SkipWithError("no PostgreSQL could be started");
        return;
    }
    KeepGames(state, postgres.Url());
}
BENCHMARK(BM_KeepGamePostgres)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
