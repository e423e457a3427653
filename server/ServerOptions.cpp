#include "server/ServerOptions.h"

#include <charconv>
#include <cstring>
#include <filesystem>

namespace qx::server {
namespace {

bool Number(const char* text, uint64_t low, uint64_t high, uint64_t& value) {
    const char* end = text + std::strlen(text);
    const auto [ptr, ec] = std::from_chars(text, end, value);
    return ec == std::errc() && ptr == end && value >= low && value <= high;
}

}  // namespace

const char* ServerOptions::Usage() {
    return "usage: quarnex-server [--port P] [--web DIR] [--max-rooms N] [--bind ADDR]\n"
           "                      [--max-per-address N]\n";
}

bool ServerOptions::Parse(int argc, const char* const* argv, ServerOptions& options,
                          std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            error = name.rfind("--", 0) == 0 ? name + " needs a value" : "unknown argument " + name;
            return false;
        }
        const char* value = argv[++i];
        uint64_t n = 0;
        if (name == "--port") {
            if (!Number(value, 0, 65535, n)) {
                error = std::string("bad port '") + value + "' (0-65535)";
                return false;
            }
            options.port = static_cast<uint16_t>(n);
        } else if (name == "--web") {
            if (!std::filesystem::is_directory(value)) {
                error = std::string("no folder '") + value + "' to serve";
                return false;
            }
            options.web = value;
        } else if (name == "--max-rooms") {
            if (!Number(value, 1, 1'000'000, n)) {
                error = std::string("bad room count '") + value + "'";
                return false;
            }
            options.limits.maxRooms = n;
        } else if (name == "--max-per-address") {
            if (!Number(value, 1, 100'000, n)) {
                error = std::string("bad connection count '") + value + "'";
                return false;
            }
            options.limits.maxConnectionsPerAddress = n;
        } else if (name == "--bind") {
            options.bind = value;
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    return true;
}

}  // namespace qx::server
