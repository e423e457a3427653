#include "web/FeedPlayer.h"

#include <algorithm>

namespace qx::web {

bool FeedPlayer::Add(const uint8_t* data, size_t size) {
    if (!feed.Add(data, size)) return false;
    if (!session && feed.Start()) {
        net::SessionOptions options;
        options.localSide = net::NetSide::Emperor;
        options.seed = feed.Start()->seed;
        options.lastTick = feed.Start()->ticks;
        session = std::make_unique<net::RollbackSession>(options);
    }
    return true;
}

uint32_t FeedPlayer::Backlog() const {
    const uint32_t both =
        std::min(feed.Received(net::NetSide::Emperor), feed.Received(net::NetSide::Rebel));
    return both > played ? both - played : 0;
}

uint32_t FeedPlayer::Play() {
    const uint32_t backlog = Backlog();
    uint32_t wanted = backlog > kFollowTicks ? backlog - kFollowTicks : 1;
    wanted = std::min(wanted, kMaxCatchUp);
    uint32_t done = 0;
    while (done < wanted && PlayOne()) ++done;
    return done;
}

uint32_t FeedPlayer::PlayAll() {
    uint32_t done = 0;
    while (PlayOne()) ++done;
    return done;
}

// One ready tick: the Emperor's inputs as the session's own, the Rebel's as
// the other side's; an end of game is closed on both sides at once.
bool FeedPlayer::PlayOne() {
    if (!session) return false;
    uint32_t tick = 0;
    net::InputList emperor;
    net::InputList rebel;
    if (!feed.Next(tick, emperor, rebel)) return false;
    if (!session->AddLocalInput(emperor) ||
        session->AddRemoteInput(tick, rebel) == net::RollbackSession::Remote::Refused) {
        return false;
    }
    using Step = net::RollbackSession::Step;
    Step step = session->Advance();
    if (step == Step::EndBoxOpen) {
        const uint32_t end = session->OpenEnd();
        session->DismissEnd();
        session->SetRemoteDismissedEnd(end);
        step = session->Advance();
    }
    if (step != Step::Ran) return false;
    // Nobody acknowledges the Emperor's inputs here: they are confirmed.
    session->ReleaseLocalInputs(session->ConfirmedTick());
    ++played;
    return true;
}

}  // namespace qx::web
