#include "replay/ReplayError.h"

namespace qx {
namespace {

const char* Summary(ReplayError::Code code) {
    using Code = ReplayError::Code;
    switch (code) {
        case Code::None:
            return "no error";
        case Code::CannotOpen:
            return "cannot read the replay file";
        case Code::TooLarge:
            return "the file is too large for a replay";
        case Code::NotAReplay:
            return "not a Quarnex replay";
        case Code::WrongVersion:
            return "a replay of an unsupported format version";
        case Code::Truncated:
            return "the replay is truncated";
        case Code::Malformed:
            return "the replay is damaged";
        case Code::OutOfRange:
            return "a number in the replay is out of range";
        case Code::TooLong:
            return "the replay is longer than allowed";
        case Code::Mismatch:
            return "the replay does not fit the game";
        case Code::ChecksumMismatch:
            return "the final checksum differs from the replay's";
        case Code::Diverged:
            return "the game parts from the replay's record";
    }
    return "unknown error";
}

}  // namespace

std::string ReplayError::Describe() const {
    std::string text = Summary(code);
    if (line > 0) text += " (line " + std::to_string(line) + ")";
    if (tick >= 0) text += " (tick " + std::to_string(tick) + ")";
    if (!detail.empty()) text += ": " + detail;
    return text;
}

}  // namespace qx
