// quarnex-sim: runs the game with no window. See SimUsage() for the options.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "game/GameState.h"
#include "replay/ReplayCheck.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayWriter.h"
#include "tools/sim/InputExport.h"
#include "tools/sim/InputScript.h"
#ifdef QUARNEX_SIM_LOBBY
#include "tools/sim/LobbyPrinter.h"
#endif
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
// The replay (--record) is written however the game ended: after a desync
// it is what shows where the machines went apart.
int RunNet(const SimOptions& options, const std::vector<InputEvent>& events,
           const SimOutputs& outputs) {
#ifndef QUARNEX_SIM_NETWORK
    (void)options, (void)events, (void)outputs;
    return Fail("network play is not part of this build");
#else
    const NetSimResult result =
        RunNetworkGame(options, events, outputs.trace, outputs.record, &std::cerr);
    std::string error;
    if (outputs.record && result.started &&
        !qx::SaveReplay(*outputs.record, options.recordPath, error)) {
        return Fail("cannot write replay file: " + error);
    }
    for (const std::string& note : result.notes) std::cerr << "quarnex-sim: " << note << '\n';
    if (!result.message.empty()) std::cerr << "quarnex-sim: " << result.message << '\n';
    if (!result.figures.empty()) std::cerr << result.figures << '\n';
    std::cerr << FormatSummary(result.summary) << '\n';
#ifdef __EMSCRIPTEN__
    // Once the network loop has slept (Asyncify), main's return value no
    // longer reaches Node: the status is given to exit itself, which leaves
    // main's files unclosed, so the trace is flushed first.
    if (outputs.trace) outputs.trace->flush();
    std::exit(NetExitStatus(result));
#endif
    return NetExitStatus(result);
#endif
}

// Exit status 1 for a run that went wrong (a desync, a replay that does not
// fit or ends elsewhere than recorded), with the summary line last.
int Wrong(const std::string& message, const SimSummary& summary) {
    std::cerr << "quarnex-sim: " << message << '\n' << FormatSummary(summary) << '\n';
    return 1;
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::cout << SimUsage();
        return 0;
    }
    std::string error;
    const auto options = ParseSimOptions(args, error);
    if (!options) return Fail(error + "\n" + SimUsage());

    std::vector<InputEvent> events;
    if (!options->inputPath.empty()) {
        std::error_code ec;
        if (std::filesystem::is_directory(options->inputPath, ec)) {
            return Fail("input file " + options->inputPath + " is a folder");
        }
        std::ifstream in(options->inputPath);
        if (!in) return Fail("cannot open input file " + options->inputPath);
        if (!ParseInputScript(in, events, error)) return Fail(error);
    }
    std::optional<qx::Replay> replay;
    if (!options->replayPath.empty()) {
        qx::ReplayError readError;
        replay = qx::LoadReplay(options->replayPath, readError);
        if (!replay) return Fail(options->replayPath + ": " + readError.Describe());
        // Played without drawing first (a quarter of a microsecond a tick),
        // so a damaged replay is refused at once, naming where it parts.
        qx::GameState reached;
        if (const qx::ReplayError wrong = qx::CheckReplay(*replay, &reached)) {
            // A file changed after it was written is damaged (status 2), not
            // a game that went another way, wherever its game parts.
            if (replay->damagedDigestLine > 0) {
                const std::string parts =
                    wrong.code == qx::ReplayError::Code::Malformed ? "" : "; " + wrong.Describe();
                return Fail(options->replayPath + ": damaged: line " +
                            std::to_string(replay->damagedDigestLine) +
                            " does not match the file's digest" + parts);
            }
            SimSummary refused;
            refused.checksum = qx::Checksum(reached);
            return Wrong(options->replayPath + ": " + wrong.Describe(), refused);
        }
    }

    std::ofstream traceFile;
    SimOutputs outputs;
    if (options->tracePath == "-") {
        outputs.trace = &std::cout;
    } else if (!options->tracePath.empty()) {
        traceFile.open(options->tracePath);
        if (!traceFile) return Fail("cannot write trace file " + options->tracePath);
        outputs.trace = &traceFile;
    }
    qx::Replay recorded;
    if (!options->recordPath.empty()) outputs.record = &recorded;

#ifdef QUARNEX_SIM_LOBBY
    if (options->net.action == ServerAction::Lobby) {
        return PrintLobby(options->net.host, options->net.port, options->net.lobbyUpdates,
                          std::cout, std::cerr);
    }
#else
    if (options->net.action == ServerAction::Lobby)
        return Fail("the lobby is not part of this build");
#endif
    if (options->net.Active()) return RunNet(*options, events, outputs);

    const SimSummary summary =
        replay ? RunReplay(*options, *replay, outputs) : RunSimulation(*options, events, outputs);
    if (outputs.record && !qx::SaveReplay(recorded, options->recordPath, error)) {
        return Fail("cannot write replay file: " + error);
    }
    if (summary.desync || summary.replayMismatch) return Wrong(summary.error, summary);
    if (!summary.error.empty()) return Fail(summary.error);
    if (!options->exportPath.empty()) {
        std::string script;
        if (!ExportInputScript(*replay, script, error)) {
            return Fail("cannot write the replay as an input script: " + error);
        }
        if (!WriteText(options->exportPath, script)) {
            return Fail("cannot write input file " + options->exportPath);
        }
    }
    std::cerr << FormatSummary(summary) << '\n';
    return 0;
}
