#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Fnv1a.h"
#include "replay/Replay.h"
#include "replay/ReplayError.h"

namespace qx {

// Reads a replay's text line by line, keeping the line number and the
// error: the format line, the header, the tick and checkpoint lines and the
// closing line, each checked against the bounds of Replay.
class ReplayParser {
  public:
    ReplayParser(std::string_view text, ReplayError& error) : text(text), error(error) {}

    std::optional<Replay> Run();

  private:
    using Code = ReplayError::Code;

    bool NextLine(std::string_view& line);
    bool Fail(Code code, std::string detail);
    bool ReadFormatLine(Replay& replay);
    bool ReadHeader(Replay& replay);
    bool ReadField(std::string_view name, std::vector<std::string_view>& words);
    bool ReadCount(std::string_view word, int64_t min, int64_t max, int64_t& value,
                   const char* what);
    bool ReadTickLine(const std::vector<std::string_view>& words, Replay& replay);
    bool ReadEvent(std::string_view word, GameInput& event);
    bool ReadTarget(std::string_view word, GameInput& event);
    bool ReadCheckpoint(const std::vector<std::string_view>& words, Replay& replay);
    bool CheckpointsComplete(const Replay& replay);
    bool ReadEnd(const std::vector<std::string_view>& words, Replay& replay);
    bool ReadDigest(Replay& replay);

    std::string_view text;
    ReplayError& error;
    size_t position = 0;
    int64_t lineNumber = 0;
    int64_t lastTick = -1;  // of the last tick or checkpoint line
    int64_t events = 0;
    int version = 0;
    Fnv1a digest;  // of the lines read so far
};

}  // namespace qx
