#pragma once

#include <cstdint>
#include <string>

namespace qx::loadgen {

// quarnex-loadgen --server HOST:PORT --games N --seconds S [--server-pid PID]
//     [--transport mixed|enet|websocket] [--setup-seconds S] [--bind ADDR] [--fill N]
struct LoadOptions {
    enum class Transports { Mixed, Enet, WebSocket };

    std::string host = "127.0.0.1";
    uint16_t port = 0;
    uint32_t games = 10;
    uint32_t seconds = 10;
    int serverPid = 0;  // when set, the server's CPU and memory are reported
    Transports transports = Transports::Mixed;
    uint32_t setupSeconds = 30;  // every game must be running within this
    std::string bind;            // the local address of the ENet players
    uint32_t fill = 0;           // rooms filled by an abuser instead of games played
    bool help = false;           // --help or -h: print the usage and do nothing else

    static bool Parse(int argc, const char* const* argv, LoadOptions& options, std::string& error);
    static const char* Usage();
};

}  // namespace qx::loadgen
