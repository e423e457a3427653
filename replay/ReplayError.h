#pragma once

#include <cstdint>
#include <string>

namespace qx {

// Why a replay could not be read or played. Hosts word the message in their
// own language from `code`, `line`, `tick` and `detail`; Describe() gives the
// English one the tools print.
struct ReplayError {
    enum class Code {
        None,
        CannotOpen,        // the file cannot be opened or read
        TooLarge,          // larger than any replay the game writes
        NotAReplay,        // does not start like a replay
        WrongVersion,      // a replay of another format version
        Truncated,         // ends before its last line
        Malformed,         // a line that is not what the format allows
        OutOfRange,        // a number outside what the format allows
        TooLong,           // more ticks or events than the format allows
        Mismatch,          // the events do not fit the game they are played on
        ChecksumMismatch,  // the game ends in another state than recorded
        Diverged,          // the game parts from a checkpoint of the record
    };

    Code code = Code::None;
    int64_t line = 0;   // 1-based line of the file, 0 when not about a line
    int64_t tick = -1;  // the tick concerned, -1 when not about a tick
    std::string detail;

    explicit operator bool() const { return code != Code::None; }
    std::string Describe() const;
};

}  // namespace qx
