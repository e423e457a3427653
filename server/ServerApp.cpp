#include "server/ServerApp.h"

#include <boost/asio/post.hpp>
#include <boost/asio/signal_set.hpp>

#include "server/EnetEndpoint.h"
#include "server/HttpListener.h"
#include "server/MatchServer.h"
#include "server/StaticFiles.h"
#include "server/WebContext.h"

namespace qx::server {
namespace {

constexpr auto kTickInterval = std::chrono::milliseconds(10);
// How long goodbyes may take to go out when the server stops.
constexpr auto kShutdownLinger = std::chrono::milliseconds(300);
constexpr int kPortAttempts = 20;

}  // namespace

ServerApp::ServerApp(const ServerOptions& opts, std::ostream& out)
    : options(opts), log(out), epoch(std::chrono::steady_clock::now()), ticker(io) {
    server = std::make_unique<MatchServer>(options.limits, metrics, random, log);
    if (!options.web.empty()) files = std::make_unique<StaticFiles>(options.web);
    context = std::make_unique<WebContext>(
        WebContext{*server, metrics, files.get(), [this] { return Now(); }});
}

ServerApp::~ServerApp() {
    // The endpoints' connections go before the rules they report to.
    enet.reset();
    listener.reset();
}

uint64_t ServerApp::Now() const {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - epoch)
                                     .count());
}

bool ServerApp::Open(std::string& error) {
    if (files && !files->Valid()) {
        error = files->Problem();
        return false;
    }
    for (int attempt = 0; attempt < kPortAttempts; ++attempt) {
        listener = std::make_unique<HttpListener>(io, *context);
        if (!listener->Open(options.bind, options.port, error)) return false;
        port = listener->Port();
        enet = std::make_unique<EnetEndpoint>(io, *server, [this] { return Now(); });
        if (enet->Open(options.bind, port, error)) return true;
        // Another program has the UDP port of the free TCP port: try again.
        enet.reset();
        listener.reset();
        if (options.port != 0) return false;
    }
    return false;
}

void ServerApp::Run(bool signals) {
    boost::asio::signal_set signalSet(io);
    if (signals) {
        signalSet.add(SIGTERM);
        signalSet.add(SIGINT);
        signalSet.async_wait([this](const boost::system::error_code& ec, int) {
            if (!ec) Shutdown();
        });
    }
    listener->Start();
    enet->Start();
    Tick();
    io.run();
}

void ServerApp::Stop() {
    boost::asio::post(io, [this] { Shutdown(); });
}

void ServerApp::Tick() {
    server->Tick(Now());
    ticker.expires_after(kTickInterval);
    ticker.async_wait([this](const boost::system::error_code& ec) {
        if (!ec && !stopping) Tick();
    });
}

void ServerApp::Shutdown() {
    if (stopping) return;
    stopping = true;
    log << "quarnex-server: stopping" << std::endl;
    listener->Stop();
    server->CloseAll();
    enet->Stop();
    ticker.cancel();
    ticker.expires_after(kShutdownLinger);
    ticker.async_wait([this](const boost::system::error_code&) { io.stop(); });
}

}  // namespace qx::server
