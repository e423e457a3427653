// quarnex-sim: runs the game with no window. See SimUsage() for the options.
#include <fstream>
#include <iostream>

#include "tools/sim/InputScript.h"
#ifdef QUARNEX_SIM_NETWORK
#include "tools/sim/NetSimulator.h"
#endif
#include "tools/sim/SimOptions.h"
#include "tools/sim/Simulator.h"

using namespace qx::sim;

namespace {

int Fail(const std::string& message) {
    std::cerr << "quarnex-sim: " << message << '\n';
    return 2;
}

// One machine of a network game; the summary line comes last in every case.
int RunNet(const SimOptions& options, const std::vector<InputEvent>& events, std::ostream* trace) {
#ifndef QUARNEX_SIM_NETWORK
    (void)options, (void)events, (void)trace;
    return Fail("network play is not part of this build");
#else
    const NetSimResult result = RunNetworkGame(options, events, trace);
    for (const std::string& note : result.notes) std::cerr << "quarnex-sim: " << note << '\n';
    if (!result.message.empty()) std::cerr << "quarnex-sim: " << result.message << '\n';
    if (!result.figures.empty()) std::cerr << result.figures << '\n';
    std::cerr << FormatSummary(result.summary) << '\n';
    return NetExitStatus(result.end);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseSimOptions({argv + 1, argv + argc}, error);
    if (!options) return Fail(error + "\n" + SimUsage());

    std::vector<InputEvent> events;
    if (!options->inputPath.empty()) {
        std::ifstream in(options->inputPath);
        if (!in) return Fail("cannot open input file " + options->inputPath);
        if (!ParseInputScript(in, events, error)) return Fail(error);
    }

    std::ofstream traceFile;
    std::ostream* trace = nullptr;
    if (options->tracePath == "-") {
        trace = &std::cout;
    } else if (!options->tracePath.empty()) {
        traceFile.open(options->tracePath);
        if (!traceFile) return Fail("cannot write trace file " + options->tracePath);
        trace = &traceFile;
    }

    if (options->net.Active()) return RunNet(*options, events, trace);

    const SimSummary summary = RunSimulation(*options, events, trace);
    if (summary.desync) {
        std::cerr << "quarnex-sim: " << summary.error << '\n' << FormatSummary(summary) << '\n';
        return 1;
    }
    if (!summary.error.empty()) return Fail(summary.error);
    std::cerr << FormatSummary(summary) << '\n';
    return 0;
}
