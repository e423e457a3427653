#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "server/ClientAddress.h"
#include "server/ServerLimits.h"

namespace qx::server {

// quarnex-server [--port P] [--web DIR] [--max-rooms N] [--bind ADDR]
//                [--max-per-address N] [--max-http-per-address N]
//                [--tls-handshakes-per-second N]
//                [--tls-cert FILE --tls-key FILE]
//                [--trust-proxy ADDR]... [--proxy-header NAME] [--metrics ADDR:PORT]
//                [--drain SECONDS]
//                [--agones] [--data DIR] [--keep-replays DAYS]
//                [--database postgresql://...] [--public-address HOST:PORT]
struct ServerOptions {
    static constexpr uint16_t kDefaultPort = 29030;

    uint16_t port = kDefaultPort;  // 0: any free port
    std::string web;               // the browser build to serve; empty: none
    std::string bind;              // empty: every address, IPv6 and IPv4
    ServerLimits limits;
    std::string tlsCert, tlsKey;  // both or neither: https and wss on the TCP port
    std::vector<std::string> trustedProxies;
    // The one header the trusted proxies write the client in.
    ClientAddress::Header proxyHeader = ClientAddress::Header::XForwardedFor;
    std::string metricsBind;  // empty: /metrics on the game port, for loopback clients
    uint16_t metricsPort = 0;
    uint32_t drainSeconds = 0;  // on SIGTERM, how long running games may go on
    bool agones = false;        // talk to the Agones SDK sidecar
    uint16_t agonesPort = 0;    // its REST port, from AGONES_SDK_HTTP_PORT
    // The history's folder (--data; empty: DefaultDataFolder()) and how
    // many days replays are kept (--keep-replays; 0: for ever).
    std::string data;
    uint32_t keepReplayDays = 0;
    // The shared PostgreSQL database (--database, else $QUARNEX_DATABASE;
    // empty: SQLite in the data folder), and the address players reach this
    // server at, for the fleet's list of servers (empty: host name:port).
    std::string database;
    std::string publicAddress;
    bool help = false;  // --help or -h: print the usage and do nothing else

    // False with `error` set on anything it cannot use.
    static bool Parse(int argc, const char* const* argv, ServerOptions& options,
                      std::string& error);
    static const char* Usage();
    // $STATE_DIRECTORY (systemd's StateDirectory=), else
    // $XDG_STATE_HOME/quarnex-server, else ~/.local/state/quarnex-server.
    static std::string DefaultDataFolder();
};

}  // namespace qx::server
