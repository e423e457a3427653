#include "tools/sim/Simulator.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>

#include "common/ArenaToClient.h"
#include "game/Game.h"
#include "replay/ReplayGameTarget.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayRecorder.h"
#include "tools/png/PngWriter.h"
#include "tools/sim/ScriptedWindows.h"
#include "tools/sim/SyncTester.h"
#include "tools/sim/TraceWriter.h"
#include "tools/sim/VirtualKeys.h"

namespace qx::sim {
namespace {

// The game's input for one scripted window event, as the window would have
// passed it on; nothing for events the game ignores. A resize is handled by
// the caller (the client size is the window's, not the game's) and becomes a
// repaint; a dialog answer waits for the next New game dialog.
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
        case EventKind::Dialog:
            return std::nullopt;
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

void MakeFramesDir(const SimOptions& options) {
    if (options.framesDir.empty()) return;
    std::error_code ec;
    std::filesystem::create_directories(options.framesDir, ec);
}

// Plays one tick's events, its timer tick and the answers after it, noting
// what was applied; false stops the run before the tick is counted.
using Step = std::function<bool(int64_t tick, StepInputs& applied)>;

// The tick loop both kinds of run share: after the start-up (tick 0), each
// tick is played, checked by the sync test, counted, traced and drawn.
void RunTicks(const SimOptions& options, int64_t ticks, Game& game, ReplayRecorder* recorder,
              const SimOutputs& outputs, const Step& step, SimSummary& summary) {
    if (recorder) recorder->EndStartUp(game.State());
    SyncTester sync(options.syncTestTicks);
    sync.Begin(game.State());
    StepInputs inputs;
    int32_t lastEmperorWins = 0;
    int32_t lastRebelWins = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int64_t tick = 0; tick <= ticks; ++tick) {
        if (tick > 0) {
            inputs = StepInputs();
            if (!step(tick, inputs)) break;
            if (recorder) recorder->EndStep(game.State());
            ++summary.ticks;
            if (options.syncTestTicks > 0 && !sync.Check(tick, inputs, game.State())) {
                summary.error = sync.Failure();
                summary.desync = true;
                break;
            }
        }
        CountWins(game.State().emperor.Wins(), lastEmperorWins, summary.emperorWins);
        CountWins(game.State().rebel.Wins(), lastRebelWins, summary.rebelWins);
        if (outputs.trace) *outputs.trace << TraceLine(tick, game.State()) << '\n';
        if (outputs.checksums) outputs.checksums->push_back(Checksum(game.State()));
        if (!options.framesDir.empty() && tick % options.frameEvery == 0) {
            std::string error;
            if (!WriteFrame(game, options.framesDir, tick, error)) {
                summary.error = "cannot write frame: " + error;
                break;
            }
        }
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    summary.ticksPerSecond = elapsed.count() > 0 ? summary.ticks / elapsed.count() : 0;
    summary.checksum = Checksum(game.State());
    if (recorder && outputs.record) *outputs.record = recorder->Finish(game.State());
}

}  // namespace

SimSummary RunSimulation(const SimOptions& options, const std::vector<InputEvent>& events,
                         std::ostream* trace) {
    SimOutputs outputs;
    outputs.trace = trace;
    return RunSimulation(options, events, outputs);
}

SimSummary RunSimulation(const SimOptions& options, const std::vector<InputEvent>& events,
                         const SimOutputs& outputs) {
    SimSummary summary;
    MakeFramesDir(options);
    ScriptedWindows windows;
    ReplayRecorder recorder;
    ReplayRecorder* record = outputs.record ? &recorder : nullptr;
    Game game;
    game.SetObserver(record);
    game.SetClientSize(options.clientWidth, options.clientHeight);
    game.Start(options.seed, {!options.emperorComputer, !options.rebelComputer});
    game.Apply(GameInput::Repaint());
    game.Apply(GameInput::NewGame());
    windows.Answer(game, nullptr);

    size_t next = 0;
    const Step step = [&](int64_t tick, StepInputs& inputs) {
        for (; next < events.size() && events[next].tick == tick; ++next) {
            const InputEvent& event = events[next];
            if (event.kind == EventKind::Resize) game.SetClientSize(event.a, event.b);
            if (event.kind == EventKind::Dialog) windows.QueueAnswer({event.a == 0, event.b == 0});
            if (const auto input = ToGameInput(event, game.ClientRect())) {
                inputs.before.push_back(*input);
                game.Apply(*input);
                windows.Answer(game, &inputs.before);
            }
        }
        game.Tick();
        windows.Answer(game, &inputs.after);
        return true;
    };
    RunTicks(options, options.ticks, game, record, outputs, step, summary);
    summary.gamesEnded = windows.GamesEnded();
    return summary;
}

SimSummary RunReplay(const SimOptions& options, const Replay& replay, const SimOutputs& outputs) {
    SimSummary summary;
    MakeFramesDir(options);
    ReplayPlayer player(replay);
    ReplayRecorder recorder;
    ReplayRecorder* record = outputs.record ? &recorder : nullptr;
    Game game;
    game.SetObserver(record);
    game.SetClientSize(options.clientWidth, options.clientHeight);
    game.Start(replay.seed, replay.players);
    ReplayGameTarget target(game);

    const auto fail = [&] {
        summary.replayMismatch = true;
        summary.error = player.Failure().Describe();
        return false;
    };
    const Step step = [&](int64_t, StepInputs&) { return player.Step(target) || fail(); };
    if (!player.Step(target)) {
        fail();
        summary.checksum = Checksum(game.State());
        return summary;
    }
    RunTicks(options, replay.tickCount, game, record, outputs, step, summary);
    summary.gamesEnded = player.GamesEnded();
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
