// The simulator's replays: a run recorded with --record runs again from the
// file with the same trace and checksum, and a replay written as an input
// script runs the same trace as well.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/Game.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayWriter.h"
#include "tests/replay/AnsweringHost.h"
#include "tools/sim/InputExport.h"
#include "tools/sim/Simulator.h"

using namespace qx;
using namespace qx::sim;

namespace {

struct Scenario {
    const char* name;
    uint32_t seed;
    int64_t ticks;
    bool emperorComputer;
    bool rebelComputer;
    const char* script;
};

// People and the computer, new games from the script, resizes and repaints,
// games that end with the players changed in the New game dialog.
const Scenario kScenarios[] = {
    {"people", 13, 1500, false, false,
     "1 mouse 451 330\n5 key 102\n9 lbutton\n13 rbutton\n17 key 13\n21 resize 800 500\n"
     "22 mouse 700 20\n400 newgame human computer\n900 paint\n901 key 32\n"},
    {"games end", 5, 6000, false, true, "2 dialog computer human\n2 dialog human computer\n"},
    {"computers", 23, 3000, true, true,
     "100 newgame human computer\n500 newgame computer computer\n700 resize 0 0\n"
     "701 mouse 3 3\n702 resize 300 200\n"},
};

SimOptions OptionsOf(const Scenario& s) {
    SimOptions options;
    options.seed = s.seed;
    options.ticks = s.ticks;
    options.emperorComputer = s.emperorComputer;
    options.rebelComputer = s.rebelComputer;
    return options;
}

std::vector<InputEvent> Events(const std::string& script) {
    std::istringstream in(script);
    std::vector<InputEvent> events;
    std::string error;
    EXPECT_TRUE(ParseInputScript(in, events, error)) << error;
    return events;
}

struct RunResult {
    SimSummary summary;
    std::string trace;
};

RunResult Live(const SimOptions& options, const std::string& script, Replay* record) {
    std::ostringstream trace;
    SimOutputs outputs;
    outputs.trace = &trace;
    outputs.record = record;
    RunResult run{RunSimulation(options, Events(script), outputs), ""};
    run.trace = trace.str();
    return run;
}

RunResult Replayed(const Replay& replay, int32_t width = 600, int32_t height = 400) {
    SimOptions options;
    options.clientWidth = width;
    options.clientHeight = height;
    std::ostringstream trace;
    SimOutputs outputs;
    outputs.trace = &trace;
    RunResult run{RunReplay(options, replay, outputs), ""};
    run.trace = trace.str();
    EXPECT_FALSE(run.summary.replayMismatch) << run.summary.error;
    return run;
}

Replay ThroughFile(const Replay& replay) {
    const auto path = std::filesystem::temp_directory_path() / "quarnex-sim-replay-test.qxr";
    std::string error;
    EXPECT_TRUE(SaveReplay(replay, path.string(), error)) << error;
    ReplayError readError;
    const auto back = LoadReplay(path.string(), readError);
    std::filesystem::remove(path);
    EXPECT_TRUE(back) << readError.Describe();
    return back.value_or(Replay{});
}

// Runs an exported script with the arguments of its first line.
RunResult FromScript(const std::string& script) {
    std::istringstream lines(script);
    std::string head;
    std::getline(lines, head);
    std::istringstream words(head.substr(1));
    std::vector<std::string> args;
    for (std::string w; words >> w;) args.push_back(w);
    std::string error;
    const auto options = ParseSimOptions(args, error);
    EXPECT_TRUE(options) << head << ": " << error;
    return Live(options.value_or(SimOptions{}), script, nullptr);
}

}  // namespace

TEST(SimReplay, RecordedRunsReplayWithTheSameTraceAndChecksum) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.name);
        Replay recorded;
        const RunResult live = Live(OptionsOf(s), s.script, &recorded);
        EXPECT_EQ(recorded.tickCount, s.ticks);
        EXPECT_EQ(recorded.finalChecksum, live.summary.checksum);
        const Replay replay = ThroughFile(recorded);
        EXPECT_EQ(replay, recorded);
        // Any client size: the replay holds arena units.
        const RunResult again = Replayed(replay, 123, 77);
        EXPECT_EQ(again.trace, live.trace);
        EXPECT_EQ(again.summary.checksum, live.summary.checksum);
        EXPECT_EQ(again.summary.gamesEnded, live.summary.gamesEnded);
        EXPECT_EQ(again.summary.emperorWins, live.summary.emperorWins);
        // Recording the replay gives the same replay.
        Replay rerecorded;
        SimOutputs outputs;
        outputs.record = &rerecorded;
        RunReplay(SimOptions{}, replay, outputs);
        EXPECT_EQ(rerecorded, recorded);
    }
}

TEST(SimReplay, ExportedInputScriptsRunTheSameTrace) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.name);
        Replay recorded;
        const RunResult live = Live(OptionsOf(s), s.script, &recorded);
        std::string script;
        std::string error;
        ASSERT_TRUE(ExportInputScript(recorded, script, error)) << error;
        EXPECT_EQ(script.rfind("# --seed " + std::to_string(s.seed) + " --emperor ", 0), 0u);
        EXPECT_EQ(FromScript(script).trace, live.trace);
    }
}

TEST(SimReplay, ExportsAGameRecordedInAWindow) {
    // The window's start: New game first, the first picture drawn while its
    // dialog is open, the players changed there; mouse, keys and a game that
    // ends with other players chosen.
    AnsweringHost host;
    host.answers = {{true, false}, {false, true}};
    ReplayRecorder recorder;
    Game game;
    game.SetObserver(&recorder);
    game.SetClientSize(600, 400);
    game.Start(77, {false, false});
    host.whileOpen = [&game] { game.Repaint(); };
    host.NewGame(game);
    host.whileOpen = nullptr;
    // A mouse move before the first tick: the window ends the start-up
    // after its New game, so the move belongs to tick 1.
    Replay startUpWithMove = recorder.Finish(game.State());
    recorder.EndStartUp(game.State());
    for (int tick = 1; tick <= 5000; ++tick) {
        if (tick % 50 == 1) AnsweringHost::MoveMouse(game, tick % 600, 380);
        if (tick % 90 == 0) game.Apply(GameInput::Key(GameKey::Up));
        host.Tick(game);
    }
    ASSERT_GE(host.endBoxes, 1);
    const Replay replay = recorder.Finish(game.State());
    std::string script;
    std::string error;
    ASSERT_TRUE(ExportInputScript(replay, script, error)) << error;
    EXPECT_NE(script.find(" dialog computer human\n"), std::string::npos) << script;
    EXPECT_EQ(FromScript(script).trace, Replayed(replay).trace);

    // What a script cannot say is refused, not written wrongly: an input no
    // window event gives, a start-up unlike the simulator's.
    startUpWithMove.ticks[0].before.push_back(GameInput::Target(1, 380));
    startUpWithMove.finalChecksum = 0;
    EXPECT_FALSE(ExportInputScript(startUpWithMove, script, error));
    EXPECT_NE(error.find("starts otherwise"), std::string::npos) << error;
    Replay odd = replay;
    odd.ticks.push_back({replay.tickCount, {GameInput::Fire(Weapon::None)}, {}});
    EXPECT_FALSE(ExportInputScript(odd, script, error));
    EXPECT_NE(error.find("tick 5000"), std::string::npos) << error;
}

TEST(SimReplay, CommandLineChecksTheReplaysChecksumAndRefusesBadFiles) {
    const std::string sim = std::string(QUARNEX_BINARY_DIR) + "/tools/sim/quarnex-sim";
    if (!std::filesystem::exists(sim)) GTEST_SKIP() << "quarnex-sim not built";
    const auto dir = std::filesystem::temp_directory_path() / "quarnex-sim-replay-cli";
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "game.qxr").string();
    const auto run = [&](const std::string& args, std::string* err = nullptr) {
        const std::string errPath = (dir / "err.txt").string();
        const int status = std::system((sim + " " + args + " 2>" + errPath).c_str());
        std::ifstream in(errPath);
        if (err) *err = std::string((std::istreambuf_iterator<char>(in)), {});
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    std::string live;
    std::string replayed;
    ASSERT_EQ(run("--seed 5 --ticks 3000 --emperor human --record " + file, &live), 0);
    ASSERT_EQ(run("--replay " + file + " --export-input " + (dir / "in.txt").string(), &replayed),
              0);
    const auto checksumOf = [](const std::string& text) {
        return text.substr(text.rfind("checksum"));
    };
    EXPECT_EQ(checksumOf(replayed), checksumOf(live));
    EXPECT_TRUE(std::filesystem::exists(dir / "in.txt"));

    // The checksum in the file changed: the digest no longer matches, so
    // the file is damaged (exit 2), not a desync (1) with its checksum.
    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    in.close();
    const size_t end = text.rfind("end ");
    text[end + 4] = text[end + 4] == '0' ? '1' : '0';
    std::ofstream(file, std::ios::trunc) << text;
    std::string message;
    EXPECT_EQ(run("--replay " + file, &message), 2);
    EXPECT_NE(message.find("damaged"), std::string::npos) << message;
    EXPECT_NE(message.find("digest"), std::string::npos) << message;

    // Help answers; a folder is no input script.
    EXPECT_EQ(run("--help"), 0);
    EXPECT_EQ(run("--input " + dir.string(), &message), 2);
    EXPECT_NE(message.find("is a folder"), std::string::npos) << message;

    // A damaged file: exit 2 naming the line.
    std::ofstream(file, std::ios::trunc) << text.substr(0, end - 3);
    EXPECT_EQ(run("--replay " + file, &message), 2);
    EXPECT_NE(message.find("truncated"), std::string::npos) << message;
    std::filesystem::remove_all(dir);
}
