#include "tools/sim/SimOptions.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace qx::sim {
namespace {

bool ParsePlayer(const std::string& text, bool& computer) {
    if (text == "human") {
        computer = false;
        return true;
    }
    if (text == "computer") {
        computer = true;
        return true;
    }
    return false;
}

bool ParseClient(const std::string& text, int32_t& w, int32_t& h) {
    const auto cross = text.find('x');
    if (cross == std::string::npos) return false;
    int64_t width = 0;
    int64_t height = 0;
    if (!ParseInteger(text.substr(0, cross), 0, kMaxClientSide, width)) return false;
    if (!ParseInteger(text.substr(cross + 1), 0, kMaxClientSide, height)) return false;
    w = static_cast<int32_t>(width);
    h = static_cast<int32_t>(height);
    return true;
}

}  // namespace

bool ParseInteger(const std::string& text, int64_t min, int64_t max, int64_t& value) {
    if (text.empty() || text.size() > 20) return false;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (size_t k = i; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return false;
    }
    errno = 0;
    const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed < min || parsed > max) return false;
    value = parsed;
    return true;
}

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    SimOptions options;
    bool framesGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (i + 1 >= args.size()) {
            error = "option " + name + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        int64_t number = 0;
        bool ok = true;
        if (name == "--seed") {
            ok = ParseInteger(value, 0, std::numeric_limits<uint32_t>::max(), number);
            options.seed = static_cast<uint32_t>(number);
        } else if (name == "--ticks") {
            ok = ParseInteger(value, 0, std::numeric_limits<int64_t>::max(), number);
            options.ticks = number;
        } else if (name == "--emperor") {
            ok = ParsePlayer(value, options.emperorComputer);
        } else if (name == "--rebel") {
            ok = ParsePlayer(value, options.rebelComputer);
        } else if (name == "--client") {
            ok = ParseClient(value, options.clientWidth, options.clientHeight);
        } else if (name == "--input") {
            options.inputPath = value;
        } else if (name == "--trace") {
            options.tracePath = value;
        } else if (name == "--frames") {
            options.framesDir = value;
            framesGiven = true;
        } else if (name == "--frame-every") {
            ok = ParseInteger(value, 1, std::numeric_limits<int64_t>::max(), number);
            options.frameEvery = number;
        } else if (name == "--sync-test") {
            ok = ParseInteger(value, 1, kMaxSyncTestTicks, number);
            options.syncTestTicks = static_cast<int32_t>(number);
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
        if (!ok) {
            error = "bad value for " + name + ": '" + value + "'";
            return std::nullopt;
        }
    }
    if (!framesGiven) options.framesDir.clear();
    return options;
}

std::string SimUsage() {
    return "usage: quarnex-sim [--seed N] [--ticks N] [--emperor human|computer]\n"
           "                   [--rebel human|computer] [--client WxH] [--input FILE]\n"
           "                   [--trace FILE|-] [--frames DIR --frame-every K]\n"
           "                   [--sync-test K]\n";
}

}  // namespace qx::sim
