#pragma once

#include <cstdint>
#include <string>

namespace qx::loadgen {

// quarnex-loadgen --server HOST:PORT --games N --seconds S [--server-pid PID]
struct LoadOptions {
    std::string host = "127.0.0.1";
    uint16_t port = 0;
    uint32_t games = 10;
    uint32_t seconds = 10;
    int serverPid = 0;  // when set, the server's CPU and memory are reported

    static bool Parse(int argc, const char* const* argv, LoadOptions& options, std::string& error);
    static const char* Usage();
};

}  // namespace qx::loadgen
