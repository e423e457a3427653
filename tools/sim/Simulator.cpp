#include "tools/sim/Simulator.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "common/ArenaToClient.h"
#include "game/Game.h"
#include "tools/png/PngWriter.h"
#include "tools/sim/SimHost.h"
#include "tools/sim/SyncTester.h"
#include "tools/sim/TraceWriter.h"
#include "tools/sim/VirtualKeys.h"

namespace qx::sim {
namespace {

// The game's input for one scripted window event, as the window would have
// passed it on; nothing for events the game ignores. A resize is handled by
// the caller (the client size is the window's, not the game's) and becomes a
// repaint.
std::optional<GameInput> ToGameInput(const InputEvent& event, Rect client) {
    switch (event.kind) {
        case EventKind::Mouse:
            if (const auto target = ClientToArena(event.a, event.b, client)) {
                return GameInput::Target(target->x, target->y);
            }
            return std::nullopt;
        case EventKind::LButton:
            return GameInput::Fire(Weapon::Forward);
        case EventKind::RButton:
        case EventKind::MButton:
            return GameInput::Fire(Weapon::Down);
        case EventKind::Key:
            return GameInput::Key(GameKeyForVirtualKey(event.a));
        case EventKind::Paint:
        case EventKind::Resize:
            return GameInput::Repaint();
        case EventKind::NewGame:
            return GameInput::NewGame(PlayerChoice{event.a == 0, event.b == 0});
    }
    return std::nullopt;
}

// Counts rounds won: a win count that grew since the last look; a new game
// sets both back to 0.
void CountWins(int32_t now, int32_t& last, int64_t& total) {
    if (now > last) total += now - last;
    last = now;
}

std::string FramePath(const std::string& dir, int64_t tick) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06lld.png", static_cast<long long>(tick));
    return dir + name;
}

// Writes the screen as a frame; a client with no area has nothing to show
// and writes nothing.
bool WriteFrame(const Game& game, const std::string& dir, int64_t tick, std::string& error) {
    if (game.Screen().Empty()) return true;
    return WritePng(game.Screen(), FramePath(dir, tick), &error);
}

}  // namespace

SimSummary RunSimulation(const SimOptions& options, const std::vector<InputEvent>& events,
                         std::ostream* trace) {
    SimSummary summary;
    if (!options.framesDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options.framesDir, ec);
    }
    SimHost host;
    Game game(host);
    game.OnSize(options.clientWidth, options.clientHeight);
    game.Start(options.seed, {!options.emperorComputer, !options.rebelComputer});
    game.OnPaint();
    game.OnGameNew();

    SyncTester sync(options.syncTestTicks);
    sync.Begin(game.State());
    std::vector<GameInput> inputs;
    int32_t lastEmperorWins = 0;
    int32_t lastRebelWins = 0;
    size_t next = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int64_t tick = 0; tick <= options.ticks; ++tick) {
        if (tick > 0) {
            inputs.clear();
            for (; next < events.size() && events[next].tick == tick; ++next) {
                const InputEvent& event = events[next];
                if (event.kind == EventKind::Resize) game.OnSize(event.a, event.b);
                if (const auto input = ToGameInput(event, game.ClientRect())) {
                    inputs.push_back(*input);
                    game.Apply(*input);
                }
            }
            if (game.State().timerRunning) game.Tick();
            ++summary.ticks;
            if (options.syncTestTicks > 0 && !sync.Check(tick, inputs, game.State())) {
                summary.error = sync.Failure();
                summary.desync = true;
                break;
            }
        }
        CountWins(game.State().emperor.Wins(), lastEmperorWins, summary.emperorWins);
        CountWins(game.State().rebel.Wins(), lastRebelWins, summary.rebelWins);
        if (trace) *trace << TraceLine(tick, game.State()) << '\n';
        if (!options.framesDir.empty() && tick % options.frameEvery == 0) {
            std::string error;
            if (!WriteFrame(game, options.framesDir, tick, error)) {
                summary.error = "cannot write frame: " + error;
                break;
            }
        }
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    summary.gamesEnded = host.GamesEnded();
    summary.ticksPerSecond = elapsed.count() > 0 ? summary.ticks / elapsed.count() : 0;
    summary.checksum = Checksum(game.State());
    return summary;
}

std::string FormatSummary(const SimSummary& s) {
    char line[240];
    std::snprintf(line, sizeof line,
                  "ticks %lld, emperor wins %lld, rebel wins %lld, games ended %lld, "
                  "%.0f ticks/s, checksum %s",
                  static_cast<long long>(s.ticks), static_cast<long long>(s.emperorWins),
                  static_cast<long long>(s.rebelWins), static_cast<long long>(s.gamesEnded),
                  s.ticksPerSecond, ChecksumHex(s.checksum).c_str());
    return line;
}

}  // namespace qx::sim
