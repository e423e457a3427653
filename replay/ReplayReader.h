#pragma once

#include <istream>
#include <optional>
#include <string>

#include "replay/Replay.h"
#include "replay/ReplayError.h"

namespace qx {

// Reads a replay in the text format of docs/replay-format.md. Everything is
// checked: the format line and version, every number's range, the order of
// the ticks, the bounds of Replay (so a file cannot make the reader allocate
// without bound) and the closing line (a cut-off file is reported as
// truncated). On failure returns nothing and sets `error`.
std::optional<Replay> ReadReplay(std::istream& in, ReplayError& error);
std::optional<Replay> ReadReplayText(std::string_view text, ReplayError& error);

// The same for a file; a file larger than Replay::kMaxFileBytes is refused
// before it is read.
std::optional<Replay> LoadReplay(const std::string& path, ReplayError& error);

}  // namespace qx
