#include "net/NetPeer.h"

#include <algorithm>
#include <cmath>

#include "net/LinkSilence.h"
#include "net/PacketCodec.h"

namespace qx::net {
namespace {

// Packets read in one Pump at most, so a flood cannot stall the game.
constexpr int kMaxEventsPerPump = 256;
constexpr uint64_t kMinSendGapMs = 2;
// A joiner says hello again (PeerOptions::helloEveryMs) until the host's
// start arrives; the host answers each with the start again, so neither
// waits for a lost message to be sent again by the link's slow schedule.
constexpr uint64_t kStartAgainGapMs = 250;
// How long leaving waits for the other machine to acknowledge the goodbye
// (it returns as soon as it has).
constexpr uint32_t kLingerMs = 1000;

}  // namespace

NetPeer::NetPeer(Transport& link, const PeerOptions& opts) : transport(link), options(opts) {}

NetPeer::~NetPeer() = default;

void NetPeer::Pump(uint64_t nowMs) {
    now = nowMs;
    if (!clockStarted) {
        clockStarted = true;
        startedAt = lastHeard = lastProgress = now;
    }
    if (Ended()) return;
    std::vector<uint8_t> data;
    for (int n = 0; n < kMaxEventsPerPump && !Ended(); ++n) {
        const LinkEvent event = transport.Poll(data);
        if (event == LinkEvent::None) break;
        OnLinkEvent(event, data);
    }
    if (Ended()) return;
    if (session) {
        // The acknowledgement goes back at once, so the other machine's
        // round trip is the link's and not this machine's tick phase.
        if (ackDue && connected && !remoteDone) SendInputs();
        session->Synchronize();
        CheckRemoteChecksum();
        CheckFinished();
        if (Ended()) return;
    }
    CheckSilence();
    if (Ended() || !connected) return;
    if (!session) {
        if (!options.hosting) SendHelloAgain();
        return;
    }
    if (remoteDone) return;
    if ((FreshInputs() && now - lastSent >= kMinSendGapMs) || now - lastSent >= options.resendMs) {
        SendInputs();
    }
    pacing.Update(now, link);
    session->SetPrediction(pacing.Prediction());
}

void NetPeer::OnLinkEvent(LinkEvent event, const std::vector<uint8_t>& data) {
    switch (event) {
        case LinkEvent::Connected:
            connected = everConnected = true;
            connectedAt = lastHeard = lastProgress = now;
            if (!options.hosting) {
                transport.Send(EncodePacket(HelloPacket{options.ticks}), true);
                lastHello = now;
            }
            break;
        case LinkEvent::Disconnected:
            connected = false;
            if (!everConnected) {
                Finish(PeerEnd::Unreachable, 0, "");
            } else {
                OnDisconnected(CloseReasonOf(data));
            }
            break;
        case LinkEvent::Received:
            Receive(data);
            break;
        case LinkEvent::None:
            break;
    }
}

// A machine that has played every agreed tick may go before its goodbye
// arrives: once this one has confirmed them all too, the game is complete
// here. Otherwise the reason the link gives says what happened.
void NetPeer::OnDisconnected(LinkClose reason) {
    if (PlayedAllTicks()) return Finish(PeerEnd::Done, options.ticks, "");
    if (remoteDone) return;
    switch (reason) {
        case LinkClose::Full:
            return Finish(session ? PeerEnd::Left : PeerEnd::Full, TickNow(), "");
        case LinkClose::OtherVersion:
            return Finish(PeerEnd::OtherVersion, TickNow(), "");
        case LinkClose::Left:
            return Finish(PeerEnd::Left, TickNow(), "");
        case LinkClose::Lost:
            return Finish(PeerEnd::Silent, TickNow(), "the link to the other machine gave up");
    }
}

void NetPeer::Receive(const std::vector<uint8_t>& bytes) {
    Packet packet;
    const char* error = nullptr;
    bool ok = DecodePacket(bytes.data(), bytes.size(), packet, error);
    if (!ok) {
    } else if (const auto* hello = std::get_if<HelloPacket>(&packet)) {
        ok = OnHello(*hello);
    } else if (const auto* start = std::get_if<StartPacket>(&packet)) {
        ok = OnStart(*start);
    } else if (const auto* inputs = std::get_if<InputPacket>(&packet)) {
        // Inputs may overtake the start message; they come again later.
        ok = !session || OnInputs(*inputs);
    } else {
        OnBye(std::get<ByePacket>(packet));
    }
    if (ok) {
        lastHeard = now;
        badSinceHeard = 0;
    } else {
        ++badPackets;
        ++badSinceHeard;
    }
}

bool NetPeer::OnHello(const HelloPacket& hello) {
    if (!options.hosting) return false;
    if (session) {
        // The joiner has not had the start yet: it goes again, unreliably
        // (the reliable one may still be on its way), at a limited rate.
        if (now - lastStartAgain >= kStartAgainGapMs) {
            lastStartAgain = now;
            transport.Send(
                EncodePacket(StartPacket{options.seed, options.side, session->Options().lastTick}),
                false);
        }
        return true;
    }
    uint32_t ticks = options.ticks;
    if (ticks == 0 || (hello.ticks != 0 && hello.ticks < ticks)) ticks = hello.ticks;
    transport.Send(EncodePacket(StartPacket{options.seed, options.side, ticks}), true);
    lastStartAgain = now;
    StartSession(options.seed, options.side, ticks);
    return true;
}

bool NetPeer::OnStart(const StartPacket& start) {
    if (options.hosting) return false;
    if (session) {
        // The same start again (answering a later hello) changes nothing.
        return start.seed == options.seed && OtherSide(start.hostSide) == options.side &&
               start.ticks == options.ticks;
    }
    const double handshake = static_cast<double>(now - connectedAt);
    StartSession(start.seed, OtherSide(start.hostSide), start.ticks);
    link.SetRoundTrip(handshake);
    pacing.Begin(Pacing::DelayFor(handshake), now);  // no jitter known yet
    return true;
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
    pacing.Begin(1, now);
    lastProgress = now;
}

bool NetPeer::OnInputs(const InputPacket& p) {
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

    link.CountSequence(p.sequence);
    // What counts as the other machine moving on: while this one's inputs
    // fill the queue, only an acknowledgement; otherwise new inputs (or its
    // player closing the end-of-game box).
    const bool needAck = LocalQueueFull();
    bool progress = false;
    if (p.ack > remoteAck) {
        link.NoteAck(p.ack, lastSentLocalTick, now);
        remoteAck = p.ack;
        s.ReleaseLocalInputs(p.ack);
        progress = true;
    }
    // The other machine runs at most kMaxPrediction ticks past this one's
    // inputs it holds, and its player closed only boxes of confirmed ends:
    // figures beyond that are not believed.
    pacing.NoteRemote(static_cast<uint32_t>(std::min<uint64_t>(
                          p.currentTick, uint64_t{p.ack} + RollbackSession::kMaxPrediction)),
                      p.advantage, now);
    const uint32_t dismissed = std::min(p.dismissedEnd, p.confirmedTick);
    if (dismissed > remoteDismissed) {
        remoteDismissed = dismissed;
        s.SetRemoteDismissedEnd(dismissed);
        progress = progress || !needAck;
    }
    if (!pendingCheck) {
        pendingCheck = true;
        pendingCheckTick = p.confirmedTick;
        pendingChecksum = p.checksum;
    }
    for (size_t i = 0; i < p.inputs.size(); ++i) {
        const uint32_t tick = p.firstTick + static_cast<uint32_t>(i);
        if (options.ticks != 0 && tick > options.ticks) break;
        const RollbackSession::Remote taken = s.AddRemoteInput(tick, p.inputs[i]);
        if (taken == RollbackSession::Remote::Taken) {
            progress = progress || !needAck;
            ackDue = true;
        }
        if (taken == RollbackSession::Remote::Gap || taken == RollbackSession::Remote::Refused)
            break;
    }
    if (progress) lastProgress = now;
    return true;
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
            Finish(PeerEnd::Left, bye.tick, "");
            break;
        case ByeReason::Refused:
            Finish(PeerEnd::Refused, bye.tick, "");
            break;
    }
}

// The other machine is judged by its packets: none valid for silenceMs, or
// (while this machine waits for its inputs or acknowledgements) none that
// bring them.
void NetPeer::CheckSilence() {
    if (!connected && !session) {
        const uint32_t limit = options.hosting ? options.hostWaitMs : options.connectMs;
        if (limit != 0 && now - startedAt > limit) Finish(PeerEnd::Unreachable, 0, "");
        return;
    }
    if (remoteDone) return;
    if (!WaitingForOther()) lastProgress = now;
    const bool quiet = LinkSilence::Over(now - lastHeard, options.silenceMs);
    const bool stalled = LinkSilence::Over(now - lastProgress, options.silenceMs);
    if (!quiet && !stalled) return;
    // After the last agreed tick only the other machine could still need
    // something; its silence then ends a complete game.
    if (PlayedAllTicks()) {
        Finish(PeerEnd::Done, options.ticks, "");
    } else if (quiet && badSinceHeard > 0) {
        SendBye(ByeReason::Refused, TickNow());
        Finish(PeerEnd::Garbled, TickNow(), std::to_string(badSinceHeard) + " packets refused");
    } else {
        // Packets still came a moment ago: they only never brought what
        // this machine waits for.
        const bool stillSending = now - lastHeard < 1000;
        Finish(PeerEnd::Silent, TickNow(), stillSending ? "its packets bring nothing new" : "");
    }
}

bool NetPeer::WaitingForOther() const {
    if (!session || Ended()) return false;
    if (lastStep == RollbackSession::Step::TooFarAhead ||
        lastStep == RollbackSession::Step::EndUnconfirmed) {
        return true;
    }
    return LocalQueueFull();
}

// This side's inputs not yet acknowledged fill the queue.
bool NetPeer::LocalQueueFull() const {
    return session &&
           session->NextLocalTick() - session->LocalInputs().Floor() > InputQueue::kCapacity;
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

uint32_t NetPeer::TickNow() const {
    return session ? session->ConfirmedTick() : 0;
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
    return next <= session->CurrentTick() + 1 + pacing.Delay();
}

bool NetPeer::AddLocalInput(const InputList& inputs, uint64_t nowMs) {
    now = nowMs;
    if (!WantsLocalInput() || !session->AddLocalInput(inputs)) return false;
    if (connected && !remoteDone) SendInputs();
    return true;
}

RollbackSession::Step NetPeer::Advance(uint64_t nowMs) {
    now = nowMs;
    if (!session || Ended()) return RollbackSession::Step::Finished;
    const RollbackSession::Step step = session->Advance();
    lastStep = step;
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
    return session && pacing.ShouldWait(session->CurrentTick(), link, now);
}

void NetPeer::Leave() {
    if (Ended()) return;
    SendBye(ByeReason::Quit, TickNow());
    Finish(PeerEnd::Quit, TickNow(), "");
}

void NetPeer::Close() {
    transport.Close(kLingerMs);
    connected = false;
}

void NetPeer::SendHelloAgain() {
    if (options.helloEveryMs == 0 || now - lastHello < options.helloEveryMs) return;
    lastHello = now;
    transport.Send(EncodePacket(HelloPacket{options.ticks}), false);
}

// Whether this side has inputs that were never sent and fit into a packet
// (the oldest unacknowledged tick and the kMaxTicks - 1 after it).
bool NetPeer::FreshInputs() const {
    const uint32_t windowEnd = remoteAck + static_cast<uint32_t>(InputPacket::kMaxTicks);
    return std::min(session->LocalInputs().KnownThrough(), windowEnd) > lastSentLocalTick;
}

void NetPeer::SendInputs() {
    RollbackSession& s = *session;
    const InputQueue& local = s.LocalInputs();
    InputPacket p;
    p.sequence = ++sequence;
    p.ack = s.RemoteKnownThrough();
    p.currentTick = s.CurrentTick();
    p.advantage = pacing.Advantage(p.currentTick, link, now);
    p.confirmedTick = s.ConfirmedTick();
    p.checksum = s.FrameOf(p.confirmedTick).checksum;
    p.dismissedEnd = s.LocalDismissedEnd();
    p.firstTick = remoteAck + 1;
    const uint32_t last = std::min(local.KnownThrough(),
                                   p.firstTick + static_cast<uint32_t>(InputPacket::kMaxTicks) - 1);
    for (uint32_t tick = p.firstTick; tick <= last && local.Holds(tick); ++tick) {
        p.inputs.push_back(local.At(tick));
        if (tick > lastSentLocalTick) link.NoteFirstSent(tick, now);
    }
    lastSentLocalTick =
        std::max(lastSentLocalTick, p.firstTick + static_cast<uint32_t>(p.inputs.size()) - 1);
    transport.Send(EncodePacket(p), false);
    lastSent = now;
    ackDue = false;
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
    f.pingMs = link.RoundTripKnown() ? static_cast<uint32_t>(std::lround(link.RoundTripMs())) : 0;
    f.inputDelay = pacing.Delay();
    f.packetsSent = sequence;
    f.packetsLost = link.PacketsLost();
    f.badPackets = badPackets + transport.Oversized();
    f.bytesSent = transport.BytesSent();
    f.bytesReceived = transport.BytesReceived();
    return f;
}

}  // namespace qx::net
