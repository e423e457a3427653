#include "tools/sim/SpectatorGame.h"

namespace qx::sim {
namespace {

net::SessionOptions OptionsOf(const net::StartPacket& start, int32_t syncTestTicks) {
    net::SessionOptions options;
    options.localSide = net::NetSide::Emperor;
    options.seed = start.seed;
    options.lastTick = start.ticks;
    options.syncTestTicks = syncTestTicks;
    return options;
}

}  // namespace

SpectatorGame::SpectatorGame(const net::StartPacket& start, int32_t syncTestTicks,
                             net::ConfirmedListener& listener)
    : session(OptionsOf(start, syncTestTicks)) {
    session.SetListener(&listener);
}

bool SpectatorGame::Play(const net::InputList& emperor, const net::InputList& rebel) {
    if (!failure.empty()) return false;
    const uint32_t tick = session.NextLocalTick();
    const int64_t dropped = session.Stats().droppedLocalInputs;
    if (!session.AddLocalInput(emperor) || session.Stats().droppedLocalInputs != dropped ||
        session.AddRemoteInput(tick, rebel) != net::RollbackSession::Remote::Taken) {
        failure =
            "the feed holds inputs of tick " + std::to_string(tick) + " that its side cannot make";
        return false;
    }
    if (const uint32_t end = session.OpenEnd()) {
        session.DismissEnd();
        session.SetRemoteDismissedEnd(end);
    }
    const net::RollbackSession::Step step = session.Advance();
    session.ReleaseLocalInputs(session.ConfirmedTick());
    if (step == net::RollbackSession::Step::Ran) return true;
    desync = step == net::RollbackSession::Step::Failed;
    failure = desync ? session.Failure()
                     : "the feed goes on past the game's end (tick " + std::to_string(tick) + ")";
    return false;
}

}  // namespace qx::sim
