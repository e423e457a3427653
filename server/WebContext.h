#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "server/ClientAddress.h"
#include "server/KeepAlives.h"

namespace boost::asio::ssl {
class context;
}

namespace qx::server {

class GameHistory;
class MatchServer;
class StaticFiles;
struct Metrics;

// What the TCP side's sessions share: the server's rules, its figures, the
// files it serves (null: none), its clock in milliseconds, and how it is
// exposed: TLS (null: plain), the reverse proxies whose forwarded client
// addresses count, where /metrics answers, and whether it is draining.
struct WebContext {
    MatchServer& server;
    Metrics& metrics;
    const StaticFiles* files;
    std::function<uint64_t()> clock;
    std::shared_ptr<boost::asio::ssl::context> tls;
    std::vector<std::string> trustedProxies;
    ClientAddress::Header proxyHeader = ClientAddress::Header::XForwardedFor;
    // /metrics on the game port: to loopback clients only (else none: it has
    // a listener of its own).
    bool metricsOnGamePort = true;
    bool draining = false;
    GameHistory* history = nullptr;  // the games kept (null: none)
    KeepAlives keepAlives;
};

}  // namespace qx::server
