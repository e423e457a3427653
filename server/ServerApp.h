#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "server/Metrics.h"
#include "server/SecureRandom.h"
#include "server/ServerOptions.h"

namespace qx::server {

class AgonesClient;
class EnetEndpoint;
class GameHistory;
class HttpListener;
class MatchServer;
class ServerRegistry;
class StaticFiles;
struct WebContext;

// The whole server in one thread: the rules (MatchServer), UDP through ENet
// and TCP (HTTP and WebSocket, plain or TLS) through Beast, all on one Asio
// loop and one port number, a timer for the rules' timeouts and spectator
// feeds, and the signals: SIGHUP reloads the certificate, SIGTERM stops
// (after draining, with --drain), SIGINT stops at once.
class ServerApp {
  public:
    ServerApp(const ServerOptions& options, std::ostream& log);
    ~ServerApp();

    // Binds TCP and UDP on the same port (with port 0, a free one for both).
    bool Open(std::string& error);
    uint16_t Port() const { return port; }
    // Open failed as the history's database is damaged (exit status 2).
    bool DataDamaged() const { return dataDamaged; }
    // Runs until Stop, or the signals above when `signals`.
    void Run(bool signals);
    // Ends Run cleanly; may be called from another thread.
    void Stop();

  private:
    uint64_t Now() const;
    void Tick();
    void WaitForSignal();
    void OnSignal(int signal);
    void ReloadTls();
    void Drain();
    void Shutdown();
    void StartAgones();
    void ExitAfterSidecar(std::chrono::steady_clock::time_point deadline);
    bool OpenHistory(std::string& error);
    void StartRegistry();

    ServerOptions options;
    std::ostream& log;
    Metrics metrics;
    SecureRandom random;
    std::unique_ptr<GameHistory> history;
    std::unique_ptr<MatchServer> server;
    std::unique_ptr<StaticFiles> files;
    std::unique_ptr<WebContext> context;
    std::chrono::steady_clock::time_point epoch;
    // One thread runs the loop: Asio then queues work posted from a handler
    // without waking its reactor through a system call each time.
    boost::asio::io_context io{1};
    boost::asio::steady_timer ticker;
    std::unique_ptr<HttpListener> listener;
    std::unique_ptr<HttpListener> metricsListener;
    std::unique_ptr<EnetEndpoint> enet;
    std::unique_ptr<boost::asio::signal_set> signalSet;
    std::unique_ptr<AgonesClient> agones;
    std::unique_ptr<ServerRegistry> registry;  // in a fleet (--database) only
    uint16_t port = 0;
    uint64_t drainEnd = 0;
    bool draining = false;
    bool stopping = false;
    bool dataDamaged = false;
    std::vector<std::string> notes;  // for the log once the server listens
};

}  // namespace qx::server
