#pragma once

#include <cstdint>
#include <string>

#include "server/ServerLimits.h"

namespace qx::server {

// quarnex-server [--port P] [--web DIR] [--max-rooms N] [--bind ADDR]
//                [--max-per-address N]
struct ServerOptions {
    static constexpr uint16_t kDefaultPort = 29030;

    uint16_t port = kDefaultPort;  // 0: any free port
    std::string web;               // the browser build to serve; empty: none
    std::string bind;              // empty: every IPv4 address
    ServerLimits limits;

    // False with `error` set on anything it cannot use.
    static bool Parse(int argc, const char* const* argv, ServerOptions& options,
                      std::string& error);
    static const char* Usage();
};

}  // namespace qx::server
