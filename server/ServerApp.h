#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "server/Metrics.h"
#include "server/SecureRandom.h"
#include "server/ServerOptions.h"

namespace qx::server {

class EnetEndpoint;
class HttpListener;
class MatchServer;
class StaticFiles;
struct WebContext;

// The whole server in one thread: the rules (MatchServer), UDP through ENet
// and TCP (HTTP and WebSocket) through Beast, all on one Asio loop and one
// port number, and a timer for the rules' timeouts and spectator feeds.
class ServerApp {
  public:
    ServerApp(const ServerOptions& options, std::ostream& log);
    ~ServerApp();

    // Binds TCP and UDP on the same port (with port 0, a free one for both).
    bool Open(std::string& error);
    uint16_t Port() const { return port; }
    // Runs until Stop, or SIGTERM / SIGINT when `signals`.
    void Run(bool signals);
    // Ends Run cleanly; may be called from another thread.
    void Stop();

  private:
    uint64_t Now() const;
    void Tick();
    void Shutdown();

    ServerOptions options;
    std::ostream& log;
    Metrics metrics;
    SecureRandom random;
    std::unique_ptr<MatchServer> server;
    std::unique_ptr<StaticFiles> files;
    std::unique_ptr<WebContext> context;
    std::chrono::steady_clock::time_point epoch;
    boost::asio::io_context io;
    boost::asio::steady_timer ticker;
    std::unique_ptr<HttpListener> listener;
    std::unique_ptr<EnetEndpoint> enet;
    uint16_t port = 0;
    bool stopping = false;
};

}  // namespace qx::server
