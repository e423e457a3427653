#include "tools/sim/WatchGame.h"

#include <chrono>
#include <cstdio>
#include <memory>

#include "net/MatchProtocol.h"
#include "net/SpectatorFeed.h"
#include "tools/sim/ConfirmedRecorder.h"
#include "tools/sim/NetLinks.h"
#include "tools/sim/ServerSilence.h"
#include "tools/sim/SpectatorGame.h"

namespace qx::sim {
namespace {

using net::PeerEnd;

// How a spectator's run stopped.
enum class Stop { None, FeedEnded, Played, ServerLeft, ServerSilent, BadFeed };

class Watcher {
  public:
    Watcher(const SimOptions& options, net::MatchConnection& link, NetSimResult& result,
            std::ostream* trace)
        : options(options), link(link), recorder(result.summary, trace), silence(link) {}

    Stop Run();
    std::unique_ptr<SpectatorGame>& Game() { return game; }
    ConfirmedRecorder& Recorder() { return recorder; }
    uint64_t RefusedFrames() const { return refusedFrames; }
    const std::string& BadFeed() const { return badFeed; }
    uint64_t Clock() const;

  private:
    Stop TakeEvents();
    void Begin();
    Stop PlayReady();

    const SimOptions& options;
    net::MatchConnection& link;
    ConfirmedRecorder recorder;
    ServerSilence silence;
    net::SpectatorFeed feed;
    std::unique_ptr<SpectatorGame> game;
    uint64_t refusedFrames = 0;
    std::string badFeed;
    const std::chrono::steady_clock::time_point began = std::chrono::steady_clock::now();
};

uint64_t Watcher::Clock() const {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - began)
                                     .count());
}

Stop Watcher::Run() {
    for (;;) {
        Stop stop = TakeEvents();
        if (!game && feed.Start()) Begin();
        // What came before the feed's end is played before stopping.
        if (game && (stop == Stop::None || stop == Stop::FeedEnded)) {
            const Stop played = PlayReady();
            if (played != Stop::None) stop = played;
        }
        if (stop == Stop::None && ServerLinkKeepsAlive() && silence.Silent(Clock())) {
            stop = Stop::ServerSilent;
        }
        if (stop != Stop::None) return stop;
        link.Wait(5);
    }
}

Stop Watcher::TakeEvents() {
    std::vector<uint8_t> data;
    for (net::LinkEvent e = link.Poll(data); e != net::LinkEvent::None; e = link.Poll(data)) {
        if (e == net::LinkEvent::Received && !feed.Add(data.data(), data.size())) {
            // A second Start is harmless; a feed frame that does not fit
            // leaves a hole no later frame fills.
            ++refusedFrames;
            if (net::IsMatchFrame(data.data(), data.size())) {
                badFeed = "the server's feed skips ticks or makes no sense (after tick " +
                          std::to_string(feed.Received(net::NetSide::Emperor)) + ")";
                return Stop::BadFeed;
            }
        }
        if (e == net::LinkEvent::Disconnected) {
            return net::CloseReasonOf(data) == net::LinkClose::Left ? Stop::FeedEnded
                                                                    : Stop::ServerLeft;
        }
    }
    return Stop::None;
}

void Watcher::Begin() {
    game = std::make_unique<SpectatorGame>(*feed.Start(), options.syncTestTicks, recorder);
    net::RollbackSession& session = game->Session();
    session.GetGame().SetClientSize(options.clientWidth, options.clientHeight);
    session.GetGame().ShowState();
    recorder.Begin(session.Options().seed, session.FrameOf(0));
}

Stop Watcher::PlayReady() {
    const int64_t limit = options.net.ticksGiven ? options.ticks : kMaxNetTicks;
    const uint32_t agreed = game->Session().Options().lastTick;
    uint32_t tick = 0;
    net::InputList emperor;
    net::InputList rebel;
    while (game->Tick() < limit && (agreed == 0 || game->Tick() < agreed) &&
           feed.Next(tick, emperor, rebel)) {
        if (!game->Play(emperor, rebel)) {
            badFeed = game->Failure();
            return Stop::BadFeed;
        }
    }
    const bool done = game->Tick() >= limit || (agreed != 0 && game->Tick() >= agreed);
    return done ? Stop::Played : Stop::None;
}

std::string Figures(const Watcher& watcher, const net::MatchConnection& link, double seconds) {
    const double secs = seconds > 0 ? seconds : 1;
    char line[200];
    std::snprintf(line, sizeof line,
                  "network: spectator, feed frames refused %llu, bytes sent %llu, received %llu "
                  "(%.0f/s)",
                  static_cast<unsigned long long>(watcher.RefusedFrames()),
                  static_cast<unsigned long long>(link.BytesSent()),
                  static_cast<unsigned long long>(link.BytesReceived()),
                  link.BytesReceived() / secs);
    return line;
}

void Judge(Stop stop, Watcher& watcher, NetSimResult& result) {
    const std::unique_ptr<SpectatorGame>& game = watcher.Game();
    const std::string tick = std::to_string(game ? game->Tick() : 0);
    switch (stop) {
        case Stop::FeedEnded:
        case Stop::Played:
        case Stop::None:
            result.end = game ? PeerEnd::Done : PeerEnd::Left;
            if (!game) result.message = "the players left before their game started";
            break;
        case Stop::ServerLeft:
            result.end = PeerEnd::Silent;
            result.message = "the connection to the server ended (tick " + tick + ")";
            break;
        case Stop::ServerSilent:
            result.end = PeerEnd::Silent;
            result.message = "the server went silent (tick " + tick + ")";
            break;
        case Stop::BadFeed:
            result.end = game && game->Desync() ? PeerEnd::Desync : PeerEnd::Garbled;
            result.message = watcher.BadFeed();
            break;
    }
}

}  // namespace

NetSimResult WatchGame(const SimOptions& options, net::MatchConnection& link, std::ostream* trace,
                       Replay* record) {
    NetSimResult result;
    Watcher watcher(options, link, result, trace);
    const Stop stop = watcher.Run();
    const double seconds = static_cast<double>(watcher.Clock()) / 1000;
    if (stop != Stop::ServerSilent) link.Close(200);
    Judge(stop, watcher, result);
    SimSummary& summary = result.summary;
    summary.desync = result.end == PeerEnd::Desync;
    summary.ticksPerSecond = seconds > 0 ? summary.ticks / seconds : 0;
    result.figures = Figures(watcher, link, seconds);
    result.started = watcher.Game() != nullptr;
    if (record && result.started) *record = watcher.Recorder().Finish();
    if (watcher.RefusedFrames() > 0) {
        result.notes.push_back(
            std::to_string(watcher.RefusedFrames()) +
            " frames from the server were no part of the feed and were left out");
    }
    return result;
}

}  // namespace qx::sim
