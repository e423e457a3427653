#include "net/NetGame.h"

#include <algorithm>

#include "net/MatchConnection.h"

namespace qx::net {
namespace {

// At most this many ticks in one Update when the host fell behind its
// clock (the rest follow in the next calls, so the network is read between).
constexpr int kMaxTicksPerUpdate = 4;
constexpr uint64_t kStatusEveryMs = 500;
// The other machine's silence is the server's when the server too sent
// nothing for all but this much of the silence limit.
constexpr uint64_t kServerGraceMs = 1000;

}  // namespace

NetGame::NetGame(Transport& transport, const NetGameOptions& opts, const MatchConnection* via)
    : link(transport),
      options(opts),
      server(via),
      peer(transport, opts.peer),
      serverSilence(transport) {}

NetGame::~NetGame() = default;

void NetGame::AddInput(const GameInput& input) {
    if (input.kind == InputKind::Target) {
        collected.AddTarget(input.x, input.y);
    } else {
        collected.Add(input);
    }
}

const std::vector<NetRequest>& NetGame::Update(uint64_t nowMs) {
    requests.clear();
    if (Ended()) return requests;
    peer.Pump(nowMs);
    CheckServer(nowMs);
    CheckEnd(nowMs);
    if (Ended() || !peer.Started()) return requests;
    // The host sees Begin before the first confirmed tick.
    if (!begun) {
        Begin(nowMs);
        return requests;
    }
    RunDueTicks(nowMs);
    CheckEnd(nowMs);
    UpdateStatus(nowMs);
    return requests;
}

void NetGame::Begin(uint64_t nowMs) {
    begun = true;
    RollbackSession& session = *peer.Session();
    session.SetListener(this);
    replay.Begin(session.Options().seed, session.FrameOf(0).state);
    nextTickAt = nowMs;
    statusAt = nowMs;
    Request(NetRequest::Kind::Begin);
}

// Each input goes on the wire in the call that takes it (NetPeer sends it).
void NetGame::TakeInputs(uint64_t nowMs) {
    while (peer.WantsLocalInput()) {
        if (inputSource) {
            if (!peer.AddLocalInput(inputSource(peer.Session()->NextLocalTick()), nowMs)) break;
        } else {
            if (!peer.AddLocalInput(collected, nowMs)) break;
            collected.Clear();
        }
    }
}

// The end-of-game box first (a confirmed end waits for it), then the
// player's inputs for the ticks that want them, then the ticks the clock
// calls for, each unless this machine runs ahead of the other.
void NetGame::RunDueTicks(uint64_t nowMs) {
    RollbackSession& session = *peer.Session();
    const int64_t rolledBefore = session.Stats().rolledBackTicks;
    bool ran = false;
    for (int n = 0; n < kMaxTicksPerUpdate && !peer.Ended(); ++n) {
        if (const uint32_t open = session.OpenEnd(); open != 0 && open != shownEnd) {
            shownEnd = open;
            if (options.dismissEndAtOnce) {
                session.DismissEnd();
            } else {
                const Frame& frame = session.FrameOf(open);
                requests.push_back(
                    {NetRequest::Kind::ShowEndBox, open, frame.endCaption, frame.endText});
            }
        }
        TakeInputs(nowMs);
        if (options.tickMs != 0) {
            if (nowMs < nextTickAt) break;
            nextTickAt += options.tickMs;
            if (peer.ShouldWaitForOther()) continue;
        }
        lastStep = peer.Advance(nowMs);
        if (lastStep != RollbackSession::Step::Ran) {
            if (options.tickMs == 0) break;
            continue;
        }
        ran = true;
    }
    if (ran || session.Stats().rolledBackTicks != rolledBefore) Request(NetRequest::Kind::Draw);
}

// Through a server anything at all that arrives shows it lives (while a
// game runs: before it a WebSocket may rightly hear nothing for long).
void NetGame::CheckServer(uint64_t nowMs) {
    if (!server || peer.Ended()) return;
    if (!peer.Started() || !options.serverKeepsAlive) {
        serverSilence.Restart(nowMs);
        return;
    }
    if (server->Client().GetState() == MatchConnection::State::Failed) {
        end = PeerEnd::ServerLost;
        endTick = peer.Session() ? peer.Session()->ConfirmedTick() : 0;
        return;
    }
    if (serverSilence.Silent(nowMs)) {
        end = PeerEnd::ServerSilent;
        endTick = peer.Session() ? peer.Session()->ConfirmedTick() : 0;
    }
}

void NetGame::CheckEnd(uint64_t nowMs) {
    if (end == PeerEnd::None && peer.Ended()) {
        end = peer.End();
        endTick = peer.EndTick();
        // The server's connection failing is why the other machine went
        // quiet or left, as far as this machine can tell; so is a server
        // that sent nothing at all (not even its link's pings) for about as
        // long as the other machine's silence.
        if (server && end != PeerEnd::Done && end != PeerEnd::Desync) {
            if (server->Client().GetState() == MatchConnection::State::Failed) {
                end = PeerEnd::ServerLost;
            } else if (end == PeerEnd::Silent && options.serverKeepsAlive &&
                       serverSilence.QuietFor(nowMs) + kServerGraceMs >= LinkSilence::kSilentMs) {
                end = PeerEnd::ServerSilent;
            }
        }
    }
    if (end != PeerEnd::None && !endRequested) {
        endRequested = true;
        Request(NetRequest::Kind::Ended, endTick);
    }
}

void NetGame::UpdateStatus(uint64_t nowMs) {
    const RollbackSession& session = *peer.Session();
    const PeerFigures f = peer.Figures();
    status.pingMs = f.pingMs;
    status.inputDelay = f.inputDelay;
    status.packetsLost = f.packetsLost;
    status.waiting = lastStep == RollbackSession::Step::TooFarAhead ||
                     lastStep == RollbackSession::Step::EndUnconfirmed ||
                     (lastStep == RollbackSession::Step::EndBoxOpen && session.OpenEnd() == 0);
    if (nowMs - statusAt < kStatusEveryMs) return;
    const int64_t rolled = session.Stats().rolledBackTicks;
    status.rollbacksPerSecond = static_cast<double>(rolled - statusRolledBack) * 1000.0 /
                                static_cast<double>(nowMs - statusAt);
    statusRolledBack = rolled;
    statusAt = nowMs;
}

uint32_t NetGame::IdleMs(uint64_t nowMs) const {
    if (!begun || options.tickMs == 0) return options.tickMs == 0 ? 0 : 5;
    return nextTickAt > nowMs ? static_cast<uint32_t>(std::min<uint64_t>(nextTickAt - nowMs, 5))
                              : 0;
}

void NetGame::DismissEnd() {
    if (RollbackSession* session = peer.Session()) session->DismissEnd();
}

void NetGame::Leave() {
    if (Ended()) return;
    peer.Leave();
    CheckEnd(0);
}

void NetGame::Close(uint32_t lingerMs) {
    if (end == PeerEnd::ServerSilent) return;
    link.Close(lingerMs);
}

uint32_t NetGame::AgreedTicks() const {
    return peer.Session() ? peer.Session()->Options().lastTick : 0;
}

Game* NetGame::SharedGame() {
    return begun ? &peer.Session()->GetGame() : nullptr;
}

Replay NetGame::TakeReplay() const {
    return begun ? replay.Finish() : Replay{};
}

void NetGame::OnConfirmed(uint32_t tick, const Frame& frame) {
    replay.Add(frame);
    if (extra) extra->OnConfirmed(tick, frame);
}

}  // namespace qx::net
