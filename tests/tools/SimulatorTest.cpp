#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/sim/Simulator.h"

using namespace qx::sim;

namespace {

std::string Trace(const SimOptions& options, const std::vector<InputEvent>& events = {}) {
    std::ostringstream out;
    const SimSummary summary = RunSimulation(options, events, &out);
    EXPECT_TRUE(summary.error.empty()) << summary.error;
    return out.str();
}

std::string LineOf(const std::string& text, int index) {
    std::istringstream lines(text);
    std::string line;
    for (int i = 0; i <= index; ++i) std::getline(lines, line);
    return line;
}

}  // namespace

TEST(Simulator, SameSeedAndInputGiveTheSameTrace) {
    SimOptions options;
    options.ticks = 3000;
    options.seed = 77;
    const std::string first = Trace(options);
    EXPECT_EQ(first, Trace(options));
    options.seed = 78;
    EXPECT_NE(first, Trace(options));
}

TEST(Simulator, StartsLikeTheWindow) {
    SimOptions options;
    options.ticks = 0;
    const std::string line = LineOf(Trace(options), 0);
    // Tick 0 comes after the New game command: ships at their bases, full
    // energy, timer running; the first meteor is the same in every run.
    EXPECT_NE(line.find("\"tick\":0,"), std::string::npos);
    EXPECT_NE(line.find("\"timer\":true"), std::string::npos);
    EXPECT_NE(line.find("\"emperor\":{\"x\":170,\"y\":383,"), std::string::npos) << line;
    EXPECT_NE(line.find("\"rebel\":{\"x\":426,\"y\":380,"), std::string::npos) << line;
    EXPECT_NE(line.find("\"meteor\":{\"x\":358,\"y\":50,\"prevX\":358,\"prevY\":50,\"dx\":-6,"
                        "\"dy\":5,\"hitsLeft\":5,\"state\":0"),
              std::string::npos)
        << line;
    EXPECT_NE(line.find("\"sprite\":\"ship 0 0\",\"mask\":\"0 0\""), std::string::npos);
}

TEST(Simulator, TraceHasOneLinePerTickWithEveryKey) {
    SimOptions options;
    options.ticks = 50;
    const std::string trace = Trace(options);
    std::istringstream lines(trace);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_EQ(line.find("{\"tick\":" + std::to_string(count) + ",\"rng\":"), 0u);
        for (const char* key : {"\"tickCounter\":", "\"flightFrame\":", "\"shots\":[[",
                                "\"fireRequest\":", "\"frameTicks\":", "\"hitsLeft\":"}) {
            EXPECT_NE(line.find(key), std::string::npos) << key;
        }
    }
    EXPECT_EQ(count, 51);
}

TEST(Simulator, ScriptedHumanEmperorSteersAndFires) {
    SimOptions options;
    options.ticks = 31;
    options.emperorComputer = false;
    options.rebelComputer = false;
    const std::vector<InputEvent> events = {
        {1, EventKind::Mouse, 300, 100, 1},
        {30, EventKind::LButton, 0, 0, 2},
    };
    const std::string trace = Trace(options, events);
    const std::string line = LineOf(trace, 30);
    EXPECT_NE(line.find("\"targetX\":300,\"targetY\":100"), std::string::npos) << line;
    // Thirty steps of 8 up from 383, sixteen right from 170 (then resting
    // within a step of 300); the forward shot starts 45 ahead, 10 a tick.
    EXPECT_NE(line.find("\"emperor\":{\"x\":298,\"y\":143,"), std::string::npos) << line;
    EXPECT_NE(line.find("\"shots\":[[343,143,343,143,10,0,20,10]"), std::string::npos) << line;
}

TEST(Simulator, ComputerAgainstComputerPlaysOnPastThreeWins) {
    SimOptions options;
    options.ticks = 60000;
    const SimSummary summary = RunSimulation(options, {}, nullptr);
    EXPECT_EQ(summary.gamesEnded, 0);
    EXPECT_GT(summary.emperorWins + summary.rebelWins, 3);
}

TEST(Simulator, CommandLineErrorsExitWithStatusTwoAndWriteNoTrace) {
    const std::string sim = std::string(QUARNEX_BINARY_DIR) + "/tools/sim/quarnex-sim";
    if (!std::filesystem::exists(sim)) GTEST_SKIP() << "quarnex-sim not built";
    const auto dir = std::filesystem::temp_directory_path() / "quarnex-sim-test";
    std::filesystem::create_directories(dir);
    const auto input = dir / "bad.txt";
    const auto trace = dir / "trace.jsonl";
    std::ofstream(input) << "1 paint\n2 fly\n";
    std::filesystem::remove(trace);

    const std::string run = sim + " --input " + input.string() + " --trace " + trace.string() +
                            " 2>" + (dir / "err.txt").string();
    const int status = std::system(run.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_FALSE(std::filesystem::exists(trace) && std::filesystem::file_size(trace) > 0);
    std::ifstream err(dir / "err.txt");
    const std::string message((std::istreambuf_iterator<char>(err)), {});
    EXPECT_NE(message.find("line 2"), std::string::npos) << message;

    const int usage = std::system((sim + " --ticks many 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(usage), 2);
    std::filesystem::remove_all(dir);
}
