// quarnex-sim: runs the game with no window. See SimUsage() for the options.
#include <fstream>
#include <iostream>

#include "tools/sim/InputScript.h"
#include "tools/sim/SimOptions.h"
#include "tools/sim/Simulator.h"

using namespace qx::sim;

namespace {

int Fail(const std::string& message) {
    std::cerr << "quarnex-sim: " << message << '\n';
    return 2;
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

    const SimSummary summary = RunSimulation(*options, events, trace);
    if (summary.desync) {
        std::cerr << "quarnex-sim: " << summary.error << '\n' << FormatSummary(summary) << '\n';
        return 1;
    }
    if (!summary.error.empty()) return Fail(summary.error);
    std::cerr << FormatSummary(summary) << '\n';
    return 0;
}
