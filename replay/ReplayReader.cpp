#include "replay/ReplayReader.h"

#include <filesystem>
#include <fstream>

#include "replay/ReplayParser.h"

namespace qx {

using Code = ReplayError::Code;

std::optional<Replay> ReadReplayText(std::string_view text, ReplayError& error) {
    error = {};
    if (static_cast<int64_t>(text.size()) > Replay::kMaxFileBytes) {
        error.code = Code::TooLarge;
        error.detail = "more than " + std::to_string(Replay::kMaxFileBytes) + " bytes";
        return std::nullopt;
    }
    return ReplayParser(text, error).Run();
}

std::optional<Replay> ReadReplay(std::istream& in, ReplayError& error) {
    std::string text;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(in.gcount()));
        if (static_cast<int64_t>(text.size()) > Replay::kMaxFileBytes) break;
    }
    if (in.bad()) {
        error = {};
        error.code = Code::CannotOpen;
        return std::nullopt;
    }
    return ReadReplayText(text, error);
}

std::optional<Replay> LoadReplay(const std::string& path, ReplayError& error) {
    error = {};
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > static_cast<uintmax_t>(Replay::kMaxFileBytes)) {
        error.code = Code::TooLarge;
        error.detail = std::to_string(size) + " bytes";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error.code = Code::CannotOpen;
        error.detail = path;
        return std::nullopt;
    }
    return ReadReplay(in, error);
}

}  // namespace qx
