#pragma once

#include <string>

#include "replay/Replay.h"

namespace qx::sim {

// Writes a replay as an input script of the simulator for a 600x400 client,
// where arena units are client pixels, with the arguments that run it
// ("# --seed S --emperor E --rebel R --ticks N") in a leading comment line.
// The replay's start-up becomes the simulator's own (a repaint and New game),
// New game with its dialog's answer becomes `newgame E R`, and an answer in
// the middle of a tick that changes the players becomes `dialog E R`.
//
// The script is checked by running it: it must reach the replay's state at
// every tick. Returns false with `error` when the replay has something a
// script cannot say (or the check fails).
bool ExportInputScript(const Replay& replay, std::string& script, std::string& error);

}  // namespace qx::sim
