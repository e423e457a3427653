#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tools/sim/InputScript.h"
#include "tools/sim/SimOptions.h"

namespace qx::sim {

struct SimSummary {
    int64_t ticks = 0;
    int64_t emperorWins = 0;  // rounds won over the whole run
    int64_t rebelWins = 0;
    int64_t gamesEnded = 0;
    double ticksPerSecond = 0;
    uint64_t checksum = 0;  // of the final state
    bool desync = false;    // the sync test found a difference
    std::string error;      // set when a frame could not be written or the sync test failed
};

// Starts the game as the window does, then runs options.ticks
// ticks with the scripted events, writing trace lines to `trace` (if not
// null) and frames to options.framesDir (if set).
SimSummary RunSimulation(const SimOptions& options, const std::vector<InputEvent>& events,
                         std::ostream* trace);

std::string FormatSummary(const SimSummary& summary);

}  // namespace qx::sim
