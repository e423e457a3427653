#include "server/ServerApp.h"

#include <unistd.h>

#include <boost/asio/post.hpp>
#include <numeric>

#include "server/AgonesClient.h"
#include "server/EnetEndpoint.h"
#include "server/GameHistory.h"
#include "server/HttpListener.h"
#include "server/MatchServer.h"
#include "server/ServerRegistry.h"
#include "server/StaticFiles.h"
#include "server/TlsContext.h"
#include "server/WebContext.h"

namespace qx::server {
namespace {

constexpr auto kTickInterval = std::chrono::milliseconds(10);
// How long goodbyes may take to go out when the server stops.
constexpr auto kShutdownLinger = std::chrono::milliseconds(300);
constexpr int kPortAttempts = 20;
// How long the last calls to the Agones sidecar may hold up the exit.
constexpr auto kSidecarLinger = std::chrono::seconds(2);

}  // namespace

ServerApp::ServerApp(const ServerOptions& opts, std::ostream& out)
    : options(opts), log(out), epoch(std::chrono::steady_clock::now()), ticker(io) {
    server = std::make_unique<MatchServer>(options.limits, metrics, random, log);
    if (!options.web.empty()) files = std::make_unique<StaticFiles>(options.web);
    context = std::make_unique<WebContext>(WebContext{*server,
                                                      metrics,
                                                      files.get(),
                                                      [this] { return Now(); },
                                                      nullptr,
                                                      options.trustedProxies,
                                                      options.proxyHeader,
                                                      options.metricsBind.empty(),
                                                      false,
                                                      nullptr,
                                                      {}});
}

ServerApp::~ServerApp() {
    // The endpoints' connections go before the rules they report to.
    enet.reset();
    listener.reset();
    metricsListener.reset();
    // The row in the fleet goes at once; the games handed over are written
    // before the history goes.
    registry.reset();
    if (history) history->Stop();
}

// The history of games under --data (or the default folder, where another
// server already keeping its history there only means none for this one).
bool ServerApp::OpenHistory(std::string& error) {
    const bool given = !options.data.empty();
    const std::string folder = given ? options.data : ServerOptions::DefaultDataFolder();
    if (folder.empty()) {
        notes.push_back(
            "quarnex-server: no folder for the history (no --data, no HOME): games "
            "are not kept");
        return true;
    }
    history = std::make_unique<GameHistory>(
        folder, options.database, options.keepReplayDays,
        [this](std::function<void()> work) { boost::asio::post(io, std::move(work)); }, log);
    if (!history->Open(error, notes)) {
        dataDamaged = error.find("damaged") != std::string::npos || !options.database.empty();
        history.reset();
        if (given || dataDamaged) return false;  // no history it was asked for
        notes.push_back("quarnex-server: games are not kept: " + error);
        error.clear();
        return true;
    }
    context->history = history.get();
    server->SetGameSink([this](FinishedGame game) { history->Submit(std::move(game)); });
    server->Ratings().SetAsk([this](const std::string& key, const RatingBook::Reply& reply) {
        history->Ask(
            [key](GameStore& s) {
                return GameHistory::Answer{200, "", s.GamesJson(key, 20).value_or("")};
            },
            [key, reply](const GameHistory::Answer& a) {
                reply(RatingBook::LatestRating(a.body, key));
            });
    });
    return true;
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
    if (!OpenHistory(error)) return false;
    if (!options.tlsCert.empty()) {
        context->tls = TlsContext::Load(options.tlsCert, options.tlsKey, error);
        if (!context->tls) return false;
    }
    if (!options.metricsBind.empty()) {
        metricsListener = std::make_unique<HttpListener>(io, *context, true);
        if (!metricsListener->Open(options.metricsBind, options.metricsPort, error)) return false;
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
    if (signals) {
        signalSet = std::make_unique<boost::asio::signal_set>(io, SIGTERM, SIGINT, SIGHUP);
        WaitForSignal();
    }
    listener->Start();
    if (metricsListener) metricsListener->Start();
    enet->Start();
    // After the listening line, which scripts read first.
    for (const std::string& note : notes) log << note << std::endl;
    notes.clear();
    if (history) history->Start();
    if (history && !options.database.empty()) StartRegistry();
    if (options.agones) StartAgones();
    Tick();
    io.run();
    signalSet.reset();
}

void ServerApp::WaitForSignal() {
    signalSet->async_wait([this](const boost::system::error_code& ec, int signal) {
        if (ec) return;
        OnSignal(signal);
        if (!stopping) WaitForSignal();
    });
}

void ServerApp::OnSignal(int signal) {
    if (signal == SIGHUP) {
        ReloadTls();
    } else if (signal == SIGTERM && options.drainSeconds > 0 && !draining &&
               server->RoomCount() > 0) {
        Drain();
    } else {
        Shutdown();
    }
}

// New connections get the new certificate; a file that cannot be used
// leaves the one in use.
void ServerApp::ReloadTls() {
    if (options.tlsCert.empty()) {
        log << "quarnex-server: SIGHUP: no certificate to reload" << std::endl;
        return;
    }
    std::string error;
    auto reloaded = TlsContext::Load(options.tlsCert, options.tlsKey, error);
    if (!reloaded) {
        log << "quarnex-server: keeping the certificate in use: " << error << std::endl;
        return;
    }
    context->tls = std::move(reloaded);
    log << "quarnex-server: certificate reloaded from " << options.tlsCert << std::endl;
}

// No new rooms (Create and a Quick that would make one answer server-full;
// /healthz says 503); the players and spectators in rooms are told when the
// server stops; the rooms there are play on until they end or the
// drain time is over, and then the server stops (Tick).
void ServerApp::Drain() {
    draining = true;
    context->draining = true;
    options.limits.maxRooms = 0;  // the rules read the limits live
    drainEnd = Now() + uint64_t{options.drainSeconds} * 1000;
    server->TellClosing(options.drainSeconds);
    log << "quarnex-server: draining, " << server->RoomCount()
        << " rooms, no new ones, for at most " << options.drainSeconds << " s" << std::endl;
}

void ServerApp::Stop() {
    boost::asio::post(io, [this] { Shutdown(); });
}

void ServerApp::Tick() {
    server->Tick(Now());
    if (registry) {
        registry->SetCounts(
            static_cast<int64_t>(server->RoomCount()),
            std::accumulate(metrics.players.begin(), metrics.players.end(), int64_t{0}));
    }
    if (draining && (server->RoomCount() == 0 || Now() >= drainEnd)) {
        Shutdown();
        return;
    }
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
    if (metricsListener) metricsListener->Stop();
    if (signalSet) signalSet->cancel();
    server->CloseAll();
    enet->Stop();
    ticker.cancel();
    ticker.expires_after(kShutdownLinger);
    if (agones) agones->Shutdown();
    const auto deadline = std::chrono::steady_clock::now() + kSidecarLinger;
    ticker.async_wait(
        [this, deadline](const boost::system::error_code&) { ExitAfterSidecar(deadline); });
}

// Ready now that the server listens; the counters' capacity is the room
// limit and two players a room.
void ServerApp::StartAgones() {
    const auto rooms = static_cast<int64_t>(options.limits.maxRooms);
    agones = std::make_unique<AgonesClient>(
        io, options.agonesPort, log,
        [this] {
            return AgonesClient::Counts{
                static_cast<int64_t>(server->RoomCount()),
                std::accumulate(metrics.players.begin(), metrics.players.end(), int64_t{0})};
        },
        AgonesClient::Counts{rooms, 2 * rooms});
    agones->Start();
}

// This server's row in the fleet's list: its public address (or the host's
// name and the port), its room limit, its rooms and players.
void ServerApp::StartRegistry() {
    char host[256] = "localhost";
    gethostname(host, sizeof host - 1);
    const std::string address = options.publicAddress.empty()
                                    ? std::string(host) + ":" + std::to_string(port)
                                    : options.publicAddress;
    registry = std::make_unique<ServerRegistry>(
        options.database, ServerRegistry::MakeId(host), address,
        static_cast<int64_t>(options.limits.maxRooms),
        [this](std::function<void()> work) { boost::asio::post(io, std::move(work)); }, log);
    registry->Start();
}

// Stops the loop once the sidecar has had the Shutdown (or the time is up).
void ServerApp::ExitAfterSidecar(std::chrono::steady_clock::time_point deadline) {
    if (!agones || agones->Idle() || std::chrono::steady_clock::now() >= deadline) {
        io.stop();
        return;
    }
    ticker.expires_after(std::chrono::milliseconds(20));
    ticker.async_wait(
        [this, deadline](const boost::system::error_code&) { ExitAfterSidecar(deadline); });
}

}  // namespace qx::server
