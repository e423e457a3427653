#include "net/NetWatch.h"

#include <algorithm>

#include "net/MatchProtocol.h"

namespace qx::net {

NetWatch::NetWatch(Transport& transport, const NetWatchOptions& opts)
    : link(transport), options(opts), silence(transport) {}

NetWatch::~NetWatch() = default;

const std::vector<NetRequest>& NetWatch::Update(uint64_t nowMs) {
    requests.clear();
    if (Ended()) return requests;
    Read();
    if (!Ended() && !session && feed.Start()) {
        Begin();
        nextTickAt = nowMs;
        return requests;
    }
    // What came before the feed's end is played before stopping.
    if (!Ended() && session) PlayDue(nowMs);
    if (!Ended() && (complete || lost) && AllPlayed()) {
        if (!session) {
            Finish(complete ? PeerEnd::Left : PeerEnd::ServerLost);
        } else {
            Finish(complete ? PeerEnd::Done : PeerEnd::ServerLost);
        }
    }
    if (!session && !options.serverKeepsAlive) silence.Restart(nowMs);
    if (!Ended() && !complete && silence.Silent(nowMs)) Finish(PeerEnd::ServerSilent);
    return requests;
}

void NetWatch::Read() {
    std::vector<uint8_t> data;
    for (LinkEvent e = link.Poll(data); e != LinkEvent::None && !Ended(); e = link.Poll(data)) {
        if (e == LinkEvent::Received && !feed.Add(data.data(), data.size())) {
            // A second Start is harmless; a feed frame that does not fit
            // leaves a hole no later frame fills.
            ++refusedFrames;
            if (IsMatchFrame(data.data(), data.size())) {
                Finish(PeerEnd::Garbled,
                       "the server's feed skips ticks or makes no sense (after tick " +
                           std::to_string(feed.Received(NetSide::Emperor)) + ")");
            }
        }
        if (e == LinkEvent::Disconnected) {
            // The server says the feed is complete by closing as one who left.
            if (CloseReasonOf(data) == LinkClose::Left) {
                complete = true;
            } else {
                lost = true;
            }
        }
    }
}

// The session starts as the players' do; the Emperor's inputs are its own
// side's, the Rebel's the other's.
void NetWatch::Begin() {
    SessionOptions so;
    so.localSide = NetSide::Emperor;
    so.seed = feed.Start()->seed;
    so.lastTick = feed.Start()->ticks;
    so.syncTestTicks = options.syncTestTicks;
    session = std::make_unique<RollbackSession>(so);
    session->SetListener(this);
    replay.Begin(so.seed, session->FrameOf(0).state);
    requests.push_back({NetRequest::Kind::Begin, 0, {}, {}});
}

uint32_t NetWatch::Backlog() const {
    const uint32_t both = std::min(feed.Received(NetSide::Emperor), feed.Received(NetSide::Rebel));
    return both > Tick() ? both - Tick() : 0;
}

// Every ready tick at once (tickMs 0), else one per tick of the clock, more
// while far behind.
void NetWatch::PlayDue(uint64_t nowMs) {
    uint32_t wanted = 0;
    if (options.tickMs == 0) {
        wanted = UINT32_MAX;
    } else {
        while (nextTickAt <= nowMs && wanted < kMaxCatchUp) {
            nextTickAt += options.tickMs;
            ++wanted;
        }
        const uint32_t backlog = Backlog();
        if (backlog > kFollowTicks) wanted = std::max(wanted, backlog - kFollowTicks);
        wanted = std::min(wanted, kMaxCatchUp);
        // A host that slept does not owe the ticks it missed.
        if (nextTickAt + options.tickMs < nowMs) nextTickAt = nowMs;
    }
    uint32_t played = 0;
    while (played < wanted && PlayOne()) ++played;
    if (played > 0) requests.push_back({NetRequest::Kind::Draw, Tick(), {}, {}});
}

bool NetWatch::PlayOne() {
    const uint32_t agreed = session->Options().lastTick;
    if ((options.lastTick != 0 && Tick() >= options.lastTick) ||
        (agreed != 0 && Tick() >= agreed)) {
        Finish(PeerEnd::Done);
        return false;
    }
    uint32_t tick = 0;
    InputList emperor;
    InputList rebel;
    if (!feed.Next(tick, emperor, rebel)) return false;
    const int64_t dropped = session->Stats().droppedLocalInputs;
    if (!session->AddLocalInput(emperor) || session->Stats().droppedLocalInputs != dropped ||
        session->AddRemoteInput(tick, rebel) != RollbackSession::Remote::Taken) {
        Finish(PeerEnd::Garbled, "the feed holds inputs of tick " + std::to_string(tick) +
                                     " that its side cannot make");
        return false;
    }
    if (const uint32_t open = session->OpenEnd()) {
        session->DismissEnd();
        session->SetRemoteDismissedEnd(open);
    }
    const RollbackSession::Step step = session->Advance();
    // Nobody acknowledges the Emperor's inputs here: they are confirmed.
    session->ReleaseLocalInputs(session->ConfirmedTick());
    if (step == RollbackSession::Step::Ran) {
        if ((options.lastTick != 0 && Tick() >= options.lastTick) ||
            (agreed != 0 && Tick() >= agreed)) {
            Finish(PeerEnd::Done);
        }
        return true;
    }
    if (step == RollbackSession::Step::Failed) {
        Finish(PeerEnd::Desync, session->Failure());
    } else {
        Finish(PeerEnd::Garbled,
               "the feed goes on past the game's end (tick " + std::to_string(tick) + ")");
    }
    return false;
}

bool NetWatch::AllPlayed() const {
    return Backlog() == 0;
}

void NetWatch::Leave() {
    Finish(PeerEnd::Quit);
}

void NetWatch::Finish(PeerEnd why, std::string text) {
    if (Ended()) return;
    end = why;
    detail = std::move(text);
    requests.push_back({NetRequest::Kind::Ended, Tick(), {}, {}});
}

void NetWatch::OnConfirmed(uint32_t tick, const Frame& frame) {
    replay.Add(frame);
    if (extra) extra->OnConfirmed(tick, frame);
}

}  // namespace qx::net
