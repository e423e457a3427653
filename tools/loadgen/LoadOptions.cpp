#include "tools/loadgen/LoadOptions.h"

#include <charconv>
#include <cstring>

namespace qx::loadgen {
namespace {

bool Number(const char* text, uint64_t low, uint64_t high, uint64_t& value) {
    const char* end = text + std::strlen(text);
    const auto [ptr, ec] = std::from_chars(text, end, value);
    return ec == std::errc() && ptr == end && value >= low && value <= high;
}

}  // namespace

const char* LoadOptions::Usage() {
    return "usage: quarnex-loadgen --server HOST:PORT --games N --seconds S [--server-pid PID]\n"
           "       [--transport mixed|enet|websocket] [--setup-seconds S] [--bind ADDR]\n"
           "       [--fill N]\n";
}

bool LoadOptions::Parse(int argc, const char* const* argv, LoadOptions& o, std::string& error) {
    bool haveServer = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            o.help = true;
            return true;
        }
        if (i + 1 >= argc) {
            error = name + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        uint64_t n = 0;
        if (name == "--server") {
            const size_t colon = value.rfind(':');
            if (colon == std::string::npos || colon == 0 ||
                !Number(value.c_str() + colon + 1, 1, 65535, n)) {
                error = "bad server '" + value + "' (HOST:PORT)";
                return false;
            }
            o.host = value.substr(0, colon);
            o.port = static_cast<uint16_t>(n);
            haveServer = true;
        } else if (name == "--games" && Number(value.c_str(), 1, 100'000, n)) {
            o.games = static_cast<uint32_t>(n);
        } else if (name == "--seconds" && Number(value.c_str(), 1, 86'400, n)) {
            o.seconds = static_cast<uint32_t>(n);
        } else if (name == "--server-pid" && Number(value.c_str(), 1, 1u << 30, n)) {
            o.serverPid = static_cast<int>(n);
        } else if (name == "--transport" &&
                   (value == "mixed" || value == "enet" || value == "websocket")) {
            o.transports = value == "mixed"  ? LoadOptions::Transports::Mixed
                           : value == "enet" ? LoadOptions::Transports::Enet
                                             : LoadOptions::Transports::WebSocket;
        } else if (name == "--setup-seconds" && Number(value.c_str(), 1, 3600, n)) {
            o.setupSeconds = static_cast<uint32_t>(n);
        } else if (name == "--bind" && !value.empty()) {
            o.bind = value;
        } else if (name == "--fill" && Number(value.c_str(), 1, 4000, n)) {
            o.fill = static_cast<uint32_t>(n);
        } else {
            error = "bad option " + name + " " + value;
            return false;
        }
    }
    if (!haveServer) error = "--server HOST:PORT is needed";
    return haveServer;
}

}  // namespace qx::loadgen
