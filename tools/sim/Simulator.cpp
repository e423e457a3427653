#include "tools/sim/Simulator.h"

#include <chrono>
#include <cstdio>

#include "common/Random.h"
#include "game/Game.h"
#include "gfx/PngWriter.h"
#include "tools/sim/SimHost.h"
#include "tools/sim/TraceWriter.h"

namespace qx::sim {
namespace {

void Apply(const InputEvent& event, Game& game, SimHost& host) {
    switch (event.kind) {
        case InputKind::Mouse:
            game.OnMouseMove(event.a, event.b);
            break;
        case InputKind::LButton:
            game.OnLButtonDown();
            break;
        case InputKind::RButton:
        case InputKind::MButton:
            game.OnRButtonDown();
            break;
        case InputKind::Key:
            game.OnKeyDown(event.a);
            break;
        case InputKind::Paint:
            game.OnPaint();
            break;
        case InputKind::Resize:
            game.OnSize(event.a, event.b);
            game.OnPaint();
            break;
        case InputKind::NewGame:
            host.SetNextChoice({event.a == 0, event.b == 0});
            game.OnGameNew();
            break;
    }
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

}  // namespace

SimSummary RunSimulation(const SimOptions& options, const std::vector<InputEvent>& events,
                         std::ostream* trace) {
    SimSummary summary;
    SimHost host;
    RandomSeed(1);  // the generator's state when the program starts
    Game game(host);
    RandomSeed(options.seed);
    game.OnSize(options.clientWidth, options.clientHeight);
    game.StartTimer();
    game.ApplyStoredPlayers(options.emperorComputer, options.rebelComputer);
    game.CreateWorkBitmaps();
    game.OnPaint();
    game.OnGameNew();

    int32_t lastEmperorWins = 0;
    int32_t lastRebelWins = 0;
    size_t next = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int64_t tick = 0; tick <= options.ticks; ++tick) {
        if (tick > 0) {
            for (; next < events.size() && events[next].tick == tick; ++next) {
                Apply(events[next], game, host);
            }
            if (host.TimerRunning()) game.OnTimer();
            ++summary.ticks;
        }
        CountWins(game.emperor.wins, lastEmperorWins, summary.emperorWins);
        CountWins(game.rebel.wins, lastRebelWins, summary.rebelWins);
        if (trace) *trace << TraceLine(tick, host.TimerRunning(), game) << '\n';
        if (!options.framesDir.empty() && tick % options.frameEvery == 0) {
            std::string error;
            if (!WritePng(game.Screen(), FramePath(options.framesDir, tick), &error)) {
                summary.error = "cannot write frame: " + error;
                break;
            }
        }
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    summary.gamesEnded = host.GamesEnded();
    summary.ticksPerSecond = elapsed.count() > 0 ? summary.ticks / elapsed.count() : 0;
    return summary;
}

std::string FormatSummary(const SimSummary& s) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "ticks %lld, emperor wins %lld, rebel wins %lld, games ended %lld, "
                  "%.0f ticks/s",
                  static_cast<long long>(s.ticks), static_cast<long long>(s.emperorWins),
                  static_cast<long long>(s.rebelWins), static_cast<long long>(s.gamesEnded),
                  s.ticksPerSecond);
    return line;
}

}  // namespace qx::sim
