#include "tools/sim/WatchGame.h"

#include <chrono>
#include <cstdio>

#include "net/NetWatch.h"
#include "tools/sim/ConfirmedRecorder.h"
#include "tools/sim/NetLinks.h"
#include "tools/sim/RoomEntry.h"

namespace qx::sim {
namespace {

using net::PeerEnd;

std::string Figures(const net::NetWatch& watch, const net::MatchConnection& link, double seconds) {
    const double secs = seconds > 0 ? seconds : 1;
    char line[200];
    std::snprintf(line, sizeof line,
                  "network: spectator, feed frames refused %llu, bytes sent %llu, received %llu "
                  "(%.0f/s)",
                  static_cast<unsigned long long>(watch.RefusedFrames()),
                  static_cast<unsigned long long>(link.BytesSent()),
                  static_cast<unsigned long long>(link.BytesReceived()),
                  link.BytesReceived() / secs);
    return line;
}

std::string EndMessage(const net::NetWatch& watch) {
    const std::string tick = std::to_string(watch.Tick());
    switch (watch.End()) {
        case PeerEnd::Left:
            return "the players left before their game started";
        case PeerEnd::ServerLost:
            return "the connection to the server ended (tick " + tick + ")";
        case PeerEnd::ServerSilent:
            return "the server went silent (tick " + tick + ")";
        case PeerEnd::Quit:
            return "the game was ended here (tick " + tick + ")";
        case PeerEnd::Garbled:
        case PeerEnd::Desync:
            return watch.EndDetail();
        default:
            return {};
    }
}

}  // namespace

NetSimResult WatchGame(const SimOptions& options, net::MatchConnection& link, std::ostream* trace,
                       Replay* record, std::ostream* log) {
    NetSimResult result;
    ConfirmedRecorder recorder(result.summary, trace);
    net::NetWatchOptions watchOptions;
    watchOptions.syncTestTicks = options.syncTestTicks;
    watchOptions.tickMs = 0;
    watchOptions.lastTick =
        options.net.ticksGiven ? static_cast<uint32_t>(std::min(options.ticks, kMaxNetTicks)) : 0;
    watchOptions.serverKeepsAlive = ServerLinkKeepsAlive();
    net::NetWatch watch(link, watchOptions);
    watch.SetConfirmedListener(&recorder);
    const auto began = std::chrono::steady_clock::now();
    auto clock = [&] {
        return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - began)
                                         .count());
    };
    uint32_t closingTold = 0;
    while (!watch.Ended()) {
        if (StopSignalled()) {
            watch.Leave();
            break;
        }
        for (const net::NetRequest& r : watch.Update(clock())) {
            if (r.kind != net::NetRequest::Kind::Begin) continue;
            Game& shown = *watch.SharedGame();
            shown.SetClientSize(options.clientWidth, options.clientHeight);
            shown.ShowState();
            recorder.Begin(watch.Session()->Options().seed, watch.Session()->FrameOf(0));
        }
        TellClosing(link.Client(), closingTold, log);
        if (!watch.Ended()) link.Wait(5);
    }
    const double seconds = static_cast<double>(clock()) / 1000;
    if (watch.End() != PeerEnd::ServerSilent) link.Close(200);
    result.end = watch.End();
    result.message = EndMessage(watch);
    SimSummary& summary = result.summary;
    summary.desync = result.end == PeerEnd::Desync;
    summary.ticksPerSecond = seconds > 0 ? summary.ticks / seconds : 0;
    result.figures = Figures(watch, link, seconds);
    result.started = watch.Begun();
    if (record && result.started) *record = recorder.Finish();
    if (watch.RefusedFrames() > 0) {
        result.notes.push_back(
            std::to_string(watch.RefusedFrames()) +
            " frames from the server were no part of the feed and were left out");
    }
    return result;
}

}  // namespace qx::sim
