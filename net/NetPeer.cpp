#include "net/NetPeer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "net/PacketCodec.h"

namespace qx::net {
namespace {

constexpr uint32_t kTickMs = 30;
// Packets read in one Pump at most, so a flood cannot stall the game.
constexpr int kMaxEventsPerPump = 256;
constexpr uint64_t kMinSendGapMs = 2;
constexpr uint64_t kDelayCheckMs = 2000;
// How long leaving waits for the other machine to acknowledge the goodbye
// (it returns as soon as it has).
constexpr uint32_t kLingerMs = 1000;
constexpr uint32_t kSequenceWindow = 64;

// The input delay a round trip calls for: none on a near link, up to two
// ticks on a slow one.
uint32_t DelayFor(double rttMs) {
    if (rttMs < 40) return 0;
    if (rttMs < 100) return 1;
    return 2;
}

}  // namespace

NetPeer::NetPeer(Transport& link, const PeerOptions& opts) : transport(link), options(opts) {}

NetPeer::~NetPeer() = default;

void NetPeer::Pump(uint64_t nowMs) {
    now = nowMs;
    if (!clockStarted) {
        clockStarted = true;
        startedAt = lastHeard = lastDelayCheck = now;
    }
    if (Ended()) return;
    std::vector<uint8_t> data;
    for (int n = 0; n < kMaxEventsPerPump && !Ended(); ++n) {
        const LinkEvent event = transport.Poll(data);
        if (event == LinkEvent::None) break;
        if (event == LinkEvent::Connected) {
            connected = true;
            lastHeard = now;
            if (!options.hosting) transport.Send(EncodePacket(HelloPacket{options.ticks}), true);
        } else if (event == LinkEvent::Disconnected) {
            // A machine that has played every agreed tick may go before its
            // goodbye arrives: once this one has confirmed them all too,
            // the game is complete here.
            connected = false;
            if (PlayedAllTicks()) {
                Finish(PeerEnd::Done, options.ticks, "");
            } else if (!remoteDone) {
                Finish(PeerEnd::Left, session ? session->ConfirmedTick() : 0, "");
            }
        } else {
            Receive(data, now);
        }
    }
    if (Ended()) return;
    if (session) {
        session->Synchronize();
        CheckRemoteChecksum();
        CheckFinished();
        if (Ended()) return;
    }
    if (!connected && !session) {
        const uint32_t limit = options.hosting ? options.hostWaitMs : options.connectMs;
        if (limit != 0 && now - startedAt > limit) Finish(PeerEnd::Unreachable, 0, "");
    } else if (!remoteDone && now - lastHeard > options.silenceMs) {
        // After the last agreed tick only the other machine could still
        // need something; its silence then ends a complete game.
        if (PlayedAllTicks()) {
            Finish(PeerEnd::Done, options.ticks, "");
        } else {
            Finish(PeerEnd::Silent, session ? session->ConfirmedTick() : 0, "");
        }
    }
    if (Ended() || !session || remoteDone || !connected) return;
    const bool fresh = session->LocalInputs().KnownThrough() > lastSentLocalTick;
    if ((fresh && now - lastSent >= kMinSendGapMs) || now - lastSent >= options.resendMs) {
        SendInputs(now);
    }
    UpdateDelay();
}

void NetPeer::Receive(const std::vector<uint8_t>& bytes, uint64_t nowMs) {
    Packet packet;
    const char* error = nullptr;
    if (!DecodePacket(bytes.data(), bytes.size(), packet, error)) {
        ++badPackets;
        return;
    }
    bool ok = true;
    if (const auto* hello = std::get_if<HelloPacket>(&packet)) {
        ok = options.hosting && !session;
        if (ok) OnHello(*hello);
    } else if (const auto* start = std::get_if<StartPacket>(&packet)) {
        ok = !options.hosting && !session;
        if (ok) OnStart(*start);
    } else if (const auto* inputs = std::get_if<InputPacket>(&packet)) {
        // Inputs may overtake the start message; they come again later.
        if (!session) return;
        ok = OnInputs(*inputs, nowMs);
    } else {
        OnBye(std::get<ByePacket>(packet));
    }
    if (ok) {
        lastHeard = nowMs;
    } else {
        ++badPackets;
    }
}

void NetPeer::OnHello(const HelloPacket& hello) {
    uint32_t ticks = options.ticks;
    if (ticks == 0 || (hello.ticks != 0 && hello.ticks < ticks)) ticks = hello.ticks;
    transport.Send(EncodePacket(StartPacket{options.seed, options.side, ticks}), true);
    StartSession(options.seed, options.side, ticks);
}

void NetPeer::OnStart(const StartPacket& start) {
    const uint32_t handshake = static_cast<uint32_t>(now - lastHeard);
    StartSession(start.seed, OtherSide(start.hostSide), start.ticks);
    rttMs = handshake;
    rttKnown = true;
    delay = wantedDelay = DelayFor(rttMs);
}

void NetPeer::StartSession(uint32_t seed, NetSide localSide, uint32_t ticks) {
    options.seed = seed;
    options.side = localSide;
    options.ticks = ticks;
    SessionOptions so;
    so.localSide = localSide;
    so.seed = seed;
    so.lastTick = ticks;
    so.syncTestTicks = options.syncTestTicks;
    session = std::make_unique<RollbackSession>(so);
    delay = wantedDelay = 1;
}

bool NetPeer::OnInputs(const InputPacket& p, uint64_t nowMs) {
    RollbackSession& s = *session;
    const uint32_t localKnown = s.LocalInputs().KnownThrough();
    if (p.ack > localKnown || p.confirmedTick > localKnown) return false;
    if (!p.inputs.empty() &&
        p.firstTick + p.inputs.size() - 1 > s.RemoteKnownThrough() + InputQueue::kCapacity) {
        return false;
    }
    for (const InputList& list : p.inputs) {
        if (!s.RemoteListAllowed(list)) return false;
    }

    CountSequence(p.sequence);
    if (p.ack > remoteAck) {
        if (p.ack <= lastSentLocalTick && lastSentLocalTick - p.ack < firstSentAt.size()) {
            const double sample =
                static_cast<double>(nowMs - firstSentAt[p.ack % firstSentAt.size()]);
            rttMs = rttKnown ? rttMs * 0.9 + sample * 0.1 : sample;
            rttKnown = true;
        }
        remoteAck = p.ack;
        s.ReleaseLocalInputs(p.ack);
    }
    remoteCurrent = std::max(remoteCurrent, p.currentTick);
    remoteAdvantage = p.advantage;
    s.SetRemoteDismissedEnd(p.dismissedEnd);
    if (!pendingCheck) {
        pendingCheck = true;
        pendingCheckTick = p.confirmedTick;
        pendingChecksum = p.checksum;
    }
    for (size_t i = 0; i < p.inputs.size(); ++i) {
        const uint32_t tick = p.firstTick + static_cast<uint32_t>(i);
        if (options.ticks != 0 && tick > options.ticks) break;
        const RollbackSession::Remote taken = s.AddRemoteInput(tick, p.inputs[i]);
        if (taken == RollbackSession::Remote::Gap || taken == RollbackSession::Remote::Refused)
            break;
    }
    return true;
}

// Loss figures: each sequence number counts once, late ones too while they
// are within a window behind the highest seen.
void NetPeer::CountSequence(uint32_t seq) {
    if (!anyRemoteSequence) {
        anyRemoteSequence = true;
        firstRemoteSequence = highestRemoteSequence = seq;
        seenWindow = 1;
        ++remotePackets;
    } else if (seq > highestRemoteSequence) {
        const uint32_t shift = seq - highestRemoteSequence;
        seenWindow = (shift >= kSequenceWindow ? 0 : seenWindow << shift) | 1;
        highestRemoteSequence = seq;
        ++remotePackets;
    } else if (seq >= firstRemoteSequence && highestRemoteSequence - seq < kSequenceWindow) {
        const uint64_t bit = uint64_t{1} << (highestRemoteSequence - seq);
        if ((seenWindow & bit) == 0) ++remotePackets;
        seenWindow |= bit;
    }
}

void NetPeer::OnBye(const ByePacket& bye) {
    switch (bye.reason) {
        case ByeReason::Done:
            // Believed only when this machine already holds every input the
            // other one had to give; it can then finish without the network.
            if (session && options.ticks != 0 && session->RemoteKnownThrough() >= options.ticks) {
                remoteDone = true;
            } else {
                Finish(PeerEnd::Left, bye.tick, "");
            }
            break;
        case ByeReason::Desync:
            Finish(PeerEnd::Desync, bye.tick, "the other machine found the states differ");
            break;
        case ByeReason::Quit:
        case ByeReason::Refused:
            Finish(PeerEnd::Left, bye.tick, "");
            break;
    }
}

void NetPeer::CheckRemoteChecksum() {
    if (!pendingCheck || pendingCheckTick > session->ConfirmedTick()) return;
    pendingCheck = false;
    if (!session->HoldsFrame(pendingCheckTick)) return;
    const uint64_t mine = session->FrameOf(pendingCheckTick).checksum;
    if (mine == pendingChecksum) return;
    Finish(PeerEnd::Desync, pendingCheckTick,
           "checksum " + ChecksumHex(mine) + " here, " + ChecksumHex(pendingChecksum) + " there");
    SendBye(ByeReason::Desync, pendingCheckTick);
}

bool NetPeer::PlayedAllTicks() const {
    return session && options.ticks != 0 && session->ConfirmedTick() >= options.ticks;
}

void NetPeer::CheckFinished() {
    if (!PlayedAllTicks()) return;
    if (remoteDone) {
        Finish(PeerEnd::Done, options.ticks, "");
    } else if (remoteAck >= options.ticks) {
        SendBye(ByeReason::Done, options.ticks);
        Finish(PeerEnd::Done, options.ticks, "");
    }
}

bool NetPeer::WantsLocalInput() const {
    if (!session || Ended()) return false;
    const uint32_t next = session->NextLocalTick();
    if (options.ticks != 0 && next > options.ticks) return false;
    return next <= session->CurrentTick() + 1 + delay;
}

RollbackSession::Step NetPeer::Advance(uint64_t nowMs) {
    now = nowMs;
    if (!session || Ended()) return RollbackSession::Step::Finished;
    const RollbackSession::Step step = session->Advance();
    if (step == RollbackSession::Step::Failed) {
        Finish(PeerEnd::Desync, session->CurrentTick(), session->Failure());
        SendBye(ByeReason::Desync, session->CurrentTick());
    } else if (step == RollbackSession::Step::Ran || step == RollbackSession::Step::Finished) {
        CheckRemoteChecksum();
        if (!Ended()) CheckFinished();
    }
    return step;
}

bool NetPeer::ShouldWaitForOther() {
    if (!session || !rttKnown) return false;
    const int64_t current = session->CurrentTick();
    const int64_t remoteNow =
        remoteCurrent + static_cast<int64_t>(std::lround(rttMs / 2 / kTickMs));
    const int64_t ahead = current - remoteNow;
    if ((ahead - remoteAdvantage) / 2 < 1 || current - lastWaitTick < 10) return false;
    lastWaitTick = static_cast<uint32_t>(current);
    return true;
}

void NetPeer::Leave() {
    if (Ended()) return;
    SendBye(ByeReason::Quit, session ? session->ConfirmedTick() : 0);
    Finish(PeerEnd::Quit, session ? session->ConfirmedTick() : 0, "");
}

void NetPeer::Close() {
    transport.Close(kLingerMs);
    connected = false;
}

void NetPeer::SendInputs(uint64_t nowMs) {
    RollbackSession& s = *session;
    const InputQueue& local = s.LocalInputs();
    InputPacket p;
    p.sequence = ++sequence;
    p.ack = s.RemoteKnownThrough();
    p.currentTick = s.CurrentTick();
    const int64_t remoteNow =
        remoteCurrent + static_cast<int64_t>(std::lround(rttMs / 2 / kTickMs));
    p.advantage = static_cast<int8_t>(std::clamp<int64_t>(p.currentTick - remoteNow, -100, 100));
    p.confirmedTick = s.ConfirmedTick();
    p.checksum = s.FrameOf(p.confirmedTick).checksum;
    p.dismissedEnd = s.LocalDismissedEnd();
    p.firstTick = remoteAck + 1;
    const uint32_t last = std::min(local.KnownThrough(),
                                   p.firstTick + static_cast<uint32_t>(InputPacket::kMaxTicks) - 1);
    for (uint32_t tick = p.firstTick; tick <= last && local.Holds(tick); ++tick) {
        p.inputs.push_back(local.At(tick));
        if (tick > lastSentLocalTick) firstSentAt[tick % firstSentAt.size()] = nowMs;
    }
    lastSentLocalTick =
        std::max(lastSentLocalTick, p.firstTick + static_cast<uint32_t>(p.inputs.size()) - 1);
    transport.Send(EncodePacket(p), false);
    lastSent = nowMs;
}

void NetPeer::UpdateDelay() {
    if (!rttKnown || now - lastDelayCheck < kDelayCheckMs) return;
    lastDelayCheck = now;
    const uint32_t want = DelayFor(rttMs);
    delayVotes = want == wantedDelay ? delayVotes + 1 : 1;
    wantedDelay = want;
    if (delayVotes >= 2) delay = want;
}

void NetPeer::Finish(PeerEnd why, uint32_t tick, const std::string& detail) {
    if (Ended()) return;
    end = why;
    endTick = tick;
    endDetail = detail;
}

void NetPeer::SendBye(ByeReason reason, uint32_t tick) {
    if (byeSent || !connected) return;
    byeSent = true;
    transport.Send(EncodePacket(ByePacket{reason, tick}), true);
}

PeerFigures NetPeer::Figures() const {
    PeerFigures f;
    f.pingMs = rttKnown ? static_cast<uint32_t>(std::lround(rttMs)) : 0;
    f.inputDelay = delay;
    f.packetsSent = sequence;
    if (anyRemoteSequence) {
        const uint64_t expected = uint64_t{highestRemoteSequence} - firstRemoteSequence + 1;
        f.packetsLost = expected > remotePackets ? expected - remotePackets : 0;
    }
    f.badPackets = badPackets + transport.Oversized();
    f.bytesSent = transport.BytesSent();
    f.bytesReceived = transport.BytesReceived();
    return f;
}

}  // namespace qx::net
