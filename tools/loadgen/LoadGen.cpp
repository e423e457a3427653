#include "tools/loadgen/LoadGen.h"

#include <unistd.h>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>

namespace qx::loadgen {
namespace {

using namespace std::chrono_literals;

constexpr auto kTick = 30ms;
constexpr auto kSetupStep = 10ms;
constexpr size_t kGamesPerStep = 20;
constexpr auto kDrain = 1s;
constexpr auto kHousekeeping = 20ms;
constexpr size_t kBins = 100'000;  // up to 1 s
constexpr uint64_t kBinMicros = 10;

struct ProcessFigures {
    double cpuSeconds = 0;
    double rssKb = 0;
};

ProcessFigures ReadProcess(int pid) {
    ProcessFigures f;
    if (pid <= 0) return f;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) return f;
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string skip;
    for (int i = 3; i < 14; ++i) fields >> skip;
    double utime = 0, stime = 0;
    fields >> utime >> stime;
    f.cpuSeconds = (utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) f.rssKb = std::stod(line.substr(6));
    }
    return f;
}

}  // namespace

bool LoadGen::OverWebSocket(size_t index, bool creator) const {
    switch (options.transports) {
        case LoadOptions::Transports::Enet:
            return false;
        case LoadOptions::Transports::WebSocket:
            return true;
        case LoadOptions::Transports::Mixed:
            break;
    }
    return (index % 2 == 1) == creator;
}

LoadGen::LoadGen(const LoadOptions& o)
    : options(o),
      setupTimer(io),
      houseTimer(io),
      phaseTimer(io),
      epoch(std::chrono::steady_clock::now()),
      histogram(kBins, 0) {
    games.resize(options.games);
    enetHost = std::make_unique<EnetClientHost>(io, std::min<size_t>(2 * options.games + 8, 4000),
                                                options.bind);
}

LoadGen::~LoadGen() {
    // Asio reports a failed cancel by throwing, which a destructor must not
    // pass on; the timers go with the games anyway.
    try {
        for (Game& game : games) {
            if (game.timer) game.timer->cancel();
        }
    } catch (...) {
    }
}

uint64_t LoadGen::Micros() const {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now() - epoch)
                                     .count());
}

void LoadGen::Record(uint64_t micros) {
    if (!measuring) return;
    ++histogram[std::min<uint64_t>(micros / kBinMicros, kBins - 1)];
    ++measured;
}

void LoadGen::StartGame(size_t index) {
    Game& game = games[index];
    net::MatchRequest create;
    create.kind = net::MatchRequest::Kind::Create;
    create.side = net::NetSide::Emperor;
    game.host = std::make_unique<LoadPlayer>(
        io, *enetHost, OverWebSocket(index, true), options.host, options.port, create,
        [this] { return Micros(); }, [this](uint64_t us) { Record(us); });
}

// Moves a game on: the joiner connects once the room has its code, and the
// game's clock starts once both players have started.
void LoadGen::Advance(Game& game) {
    if (!game.host) return;
    if (!game.guest && game.host->State() == net::MatchClient::State::InRoom) {
        net::MatchRequest join;
        join.kind = net::MatchRequest::Kind::Join;
        join.code = game.host->Client().Answer().code;
        const size_t index = static_cast<size_t>(&game - games.data());
        game.guest = std::make_unique<LoadPlayer>(
            io, *enetHost, OverWebSocket(index, false), options.host, options.port, join,
            [this] { return Micros(); }, [this](uint64_t us) { Record(us); });
        game.host->SetOther(game.guest.get());
        game.guest->SetOther(game.host.get());
        game.host->SetWindow(&measuring);
        game.guest->SetWindow(&measuring);
    }
    if (game.guest && !game.ticking && game.host->Started() && game.guest->Started()) {
        game.ticking = true;
        game.timer = std::make_unique<boost::asio::steady_timer>(io);
        game.timer->expires_after(std::chrono::milliseconds(0));
        Tick(game);
    }
}

void LoadGen::Tick(Game& game) {
    if (!sending) return;
    game.host->SendTick();
    game.guest->SendTick();
    game.timer->expires_at(game.timer->expiry() + kTick);
    game.timer->async_wait([this, &game](const boost::system::error_code& ec) {
        if (!ec) Tick(game);
    });
}

// Games still being set up are moved on here.
void LoadGen::Housekeep() {
    for (Game& game : games) {
        if (!game.ticking) Advance(game);
    }
    houseTimer.expires_after(kHousekeeping);
    houseTimer.async_wait([this](const boost::system::error_code& ec) {
        if (!ec) Housekeep();
    });
}

void LoadGen::Setup() {
    for (size_t n = 0; n < kGamesPerStep && started < games.size(); ++n) StartGame(started++);
    size_t ticking = 0;
    for (Game& game : games) {
        Advance(game);
        if (game.ticking) ++ticking;
    }
    const bool late =
        std::chrono::steady_clock::now() - epoch > std::chrono::seconds(options.setupSeconds);
    if (ticking == games.size() || late) {
        measuring = true;
        phaseTimer.expires_after(std::chrono::seconds(options.seconds));
        phaseTimer.async_wait([this](const boost::system::error_code&) { Finish(); });
        return;
    }
    setupTimer.expires_after(kSetupStep);
    setupTimer.async_wait([this](const boost::system::error_code& ec) {
        if (!ec) Setup();
    });
}

void LoadGen::Finish() {
    sending = false;
    phaseTimer.expires_after(kDrain);
    phaseTimer.async_wait([this](const boost::system::error_code&) {
        measuring = false;
        houseTimer.cancel();
        io.stop();
    });
}

int LoadGen::Run(std::ostream& out) {
    const ProcessFigures before = ReadProcess(options.serverPid);
    Setup();
    Housekeep();
    // The server's figures over the measured seconds only.
    ProcessFigures windowStart;
    boost::asio::steady_timer windowTimer(io);
    std::function<void()> waitForWindow = [&] {
        if (measuring) {
            windowStart = ReadProcess(options.serverPid);
            return;
        }
        windowTimer.expires_after(5ms);
        windowTimer.async_wait([&](const boost::system::error_code& ec) {
            if (!ec) waitForWindow();
        });
    };
    waitForWindow();
    const auto t0 = std::chrono::steady_clock::now();
    io.run();
    const ProcessFigures after = ReadProcess(options.serverPid);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    (void)seconds;

    size_t running = 0;
    uint64_t sent = 0, received = 0, sentInWindow = 0, receivedInWindow = 0;
    for (const Game& game : games) {
        if (game.ticking) ++running;
        for (const LoadPlayer* p : {game.host.get(), game.guest.get()}) {
            if (!p) continue;
            sent += p->Sent();
            received += p->Received();
            sentInWindow += p->SentInWindow();
            receivedInWindow += p->ReceivedInWindow();
        }
    }
    const auto percentile = [&](double q) {
        const uint64_t want = static_cast<uint64_t>(q * static_cast<double>(measured));
        uint64_t seen = 0;
        for (size_t i = 0; i < kBins; ++i) {
            seen += histogram[i];
            if (seen > want) return static_cast<double>(i * kBinMicros) / 1000.0;
        }
        return static_cast<double>(kBins * kBinMicros) / 1000.0;
    };
    // Lost: packets sent in the measured seconds that never arrived (the
    // drain after them lets the last ones in). Those lost while games were
    // still being set up are told apart.
    const uint64_t lost = sentInWindow > receivedInWindow ? sentInWindow - receivedInWindow : 0;
    const uint64_t lostAll = sent > received ? sent - received : 0;
    if (getenv("QX_DEBUG")) {
        out << "sent " << sent << " received " << received << " p90 " << percentile(0.9) << " p95 "
            << percentile(0.95) << " p98 " << percentile(0.98) << " p99.9 " << percentile(0.999)
            << "\n";
    }
    out << std::fixed << std::setprecision(2);
    if (running < games.size())
        out << "games set up: " << running << " of " << games.size() << '\n';
    if (lostAll > lost) out << "lost while games were set up: " << lostAll - lost << '\n';
    if (options.serverPid > 0) {
        const double cpu = (after.cpuSeconds - windowStart.cpuSeconds) /
                           static_cast<double>(options.seconds + 1) * 100.0;
        out << "server cpu " << cpu << "% of one core, memory " << after.rssKb / 1024.0 << " MB ("
            << (after.rssKb - before.rssKb) / static_cast<double>(games.size())
            << " KB per game)\n";
        const char* names[] = {"mixed", "enet", "websocket"};
        out << "server cpu per relayed packet (" << names[static_cast<int>(options.transports)]
            << "): "
            << (after.cpuSeconds - windowStart.cpuSeconds) * 1e6 /
                   static_cast<double>(std::max<uint64_t>(measured, 1))
            << " us\n";
    }
    out << "games " << running << ", packets " << measured << ", relay p50 " << percentile(0.5)
        << " ms, p99 " << percentile(0.99) << " ms, lost " << lost << std::endl;
    return running == games.size() && lost == 0 ? 0 : 1;
}

}  // namespace qx::loadgen
