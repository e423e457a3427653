#pragma once

#include <ostream>
#include <string>

#include "replay/Replay.h"

namespace qx {

// Writes a replay in the text format of docs/replay-format.md; version 2
// closes with the digest of its content.
std::string ReplayText(const Replay& replay);
void WriteReplay(const Replay& replay, std::ostream& out);

// Writes the replay to `path` through a temporary file in the same folder
// that then takes the file's place, so a failed save never leaves a damaged
// or half-written file behind. Returns false with `error` set on failure.
bool SaveReplay(const Replay& replay, const std::string& path, std::string& error);

}  // namespace qx
