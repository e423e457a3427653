#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "replay/Replay.h"
#include "tools/sim/InputScript.h"
#include "tools/sim/SimOptions.h"

namespace qx::sim {

struct SimSummary {
    int64_t ticks = 0;
    int64_t emperorWins = 0;  // rounds won over the whole run
    int64_t rebelWins = 0;
    int64_t gamesEnded = 0;
    double ticksPerSecond = 0;
    uint64_t checksum = 0;        // of the final state
    bool desync = false;          // the sync test found a difference
    bool replayMismatch = false;  // the replay's events did not fit the game
    std::string error;  // set when a frame could not be written, the sync test failed or the
                        // replay did not fit
};

// What a run leaves besides its summary; each is optional.
struct SimOutputs {
    std::ostream* trace = nullptr;
    Replay* record = nullptr;                    // the replay of the run
    std::vector<uint64_t>* checksums = nullptr;  // the state's checksum after tick 0, 1, ...
};

// Starts the game as the window does, then runs options.ticks
// ticks with the scripted events, writing trace lines to `trace` (if not
// null) and frames to options.framesDir (if set).
SimSummary RunSimulation(const SimOptions& options, const std::vector<InputEvent>& events,
                         std::ostream* trace);
SimSummary RunSimulation(const SimOptions& options, const std::vector<InputEvent>& events,
                         const SimOutputs& outputs);

// Runs a replay: the game started with its seed and players, then its
// events tick by tick, the modal windows answered from it. The options give
// the client size and the frames; seed, sides, ticks and input are the
// replay's.
SimSummary RunReplay(const SimOptions& options, const Replay& replay, const SimOutputs& outputs);

std::string FormatSummary(const SimSummary& summary);

}  // namespace qx::sim
