#include <gtest/gtest.h>

#include "net/LinkStats.h"
#include "net/MemoryLink.h"
#include "net/NetPeer.h"
#include "net/PacketCodec.h"
#include "net/RandomPlayer.h"
#include "net/VirtualMatch.h"

namespace qx::net {
namespace {

struct RandomPlayers {
    RandomPlayer emperor{NetSide::Emperor, 21};
    RandomPlayer rebel{NetSide::Rebel, 22};
    InputList operator()(int index, uint32_t tick) {
        return index == 0 ? emperor.InputsFor(tick) : rebel.InputsFor(tick);
    }
};

LinkFaults WorseLink(uint64_t seed) {
    LinkFaults faults;
    faults.maxDelayMs = 300;
    faults.dropPercent = 20;
    faults.duplicatePercent = 5;
    faults.seed = seed;
    return faults;
}

// Losses that are ordinary on the internet never end a game: a fifth of the
// datagrams lost with up to 300 ms of jitter, bursts of 1 s lost both ways
// and one-way blackouts of 4 s, each way in turn.
TEST(NetworkLink, LossBurstsAndBlackoutsShorterThanTheSilenceNeverEndAGame) {
    VirtualMatchOptions options;
    options.faults = WorseLink(9);
    options.faults.outages.push_back({20000, 1000, 30000, LinkOutage::Toward::Both});
    options.faults.outages.push_back({35000, 4000, 30000, LinkOutage::Toward::Alternate});
    options.ticks = 6000;  // three minutes: three bursts, three blackouts
    RandomPlayers players;
    VirtualMatch match(options, std::ref(players));
    match.Run(3600000);
    EXPECT_GT(match.Link().BlackedOut(), 100u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(match.Peer(i).End(), PeerEnd::Done) << i << " " << match.Peer(i).EndDetail();
    }
    EXPECT_EQ(match.Checksums(0).size(), 6001u);
    EXPECT_EQ(match.Checksums(0), match.Checksums(1));
}

// A blackout longer than the silence ends the game on the machine that
// hears nothing, as a silence; the other learns it from the goodbye or its
// own silence rule, never as a false "left".
TEST(NetworkLink, ABlackoutLongerThanTheSilenceEndsTheGameAsSilent) {
    VirtualMatchOptions options;
    options.ticks = 0;
    options.faults.maxDelayMs = 40;
    options.faults.outages.push_back({10000, 60000, 0, LinkOutage::Toward::End1});
    RandomPlayers players;
    VirtualMatch match(options, std::ref(players));
    match.Run(20000);
    EXPECT_EQ(match.Peer(1).End(), PeerEnd::Silent);
    EXPECT_EQ(match.Peer(0).End(), PeerEnd::Silent);
}

// A hand-driven other machine: says hello, then sends what the test wants.
class FakeJoiner {
  public:
    explicit FakeJoiner(Transport& end) : end(end) {}
    void Hello() { end.Send(EncodePacket(HelloPacket{0}), true); }
    void Send(const InputPacket& p) { end.Send(EncodePacket(p), false); }
    // Datagrams that came from the host since the last call.
    int Drain() {
        int count = 0;
        std::vector<uint8_t> data;
        for (LinkEvent e; (e = end.Poll(data)) != LinkEvent::None;)
            count += e == LinkEvent::Received;
        return count;
    }

  private:
    Transport& end;
};

// A host as the simulator and the window run one: 30 ms ticks, empty inputs.
void HostStep(NetPeer& host, uint64_t now) {
    host.Pump(now);
    if (!host.Session() || host.Ended()) return;
    while (host.AddLocalInput({}, now)) {
    }
    if (now % 30 == 0) host.Advance(now);
}

// The other machine plays on (it sends its inputs) but never acknowledges
// the host's: the host's inputs fill its queue, the game stands still, and
// the stall ends by the silence rule. Meanwhile the host keeps sending at
// the game's pace, not as fast as it can.
TEST(HostilePeer, APeerThatNeverAcknowledgesEndsAsSilentWhileSendingStaysAtTheGameRate) {
    MemoryLink link(LinkFaults{});
    PeerOptions options;
    NetPeer host(link.End(0), options);
    FakeJoiner joiner(link.End(1));
    joiner.Hello();
    uint32_t sent = 0;
    uint64_t stalledAt = 0;
    uint32_t lastTick = 0;
    int packetsDuringStall = 0;
    for (uint64_t now = 1; now < 30000 && !host.Ended(); ++now) {
        link.SetTime(now);
        HostStep(host, now);
        const int got = joiner.Drain();
        if (stalledAt != 0) packetsDuringStall += got;
        if (!host.Session() || now % 30 != 0) continue;
        InputPacket p;  // the Rebel's inputs, one more tick each time, ack 0
        p.sequence = ++sent;
        p.checksum = host.Session()->FrameOf(0).checksum;
        p.firstTick = 1;
        p.inputs.resize(std::min<uint32_t>(sent, InputPacket::kMaxTicks));
        if (sent > InputPacket::kMaxTicks) p.firstTick = sent - InputPacket::kMaxTicks + 1;
        joiner.Send(p);
        const uint32_t tick = host.Session()->CurrentTick();
        if (tick == lastTick && stalledAt == 0 && tick > 0) stalledAt = now;
        if (tick != lastTick) stalledAt = 0, packetsDuringStall = 0;
        lastTick = tick;
    }
    ASSERT_NE(stalledAt, 0u) << static_cast<int>(host.End()) << " " << host.EndDetail();
    EXPECT_EQ(host.End(), PeerEnd::Silent);
    EXPECT_GE(lastTick, 50u);
    EXPECT_LE(lastTick, 70u);
    const double seconds = (link.Time() - stalledAt) / 1000.0;
    EXPECT_NEAR(seconds, 5.0, 0.6);
    EXPECT_LE(packetsDuringStall / seconds, 40.0);  // some 33 a second
}

// One packet numbered 0xFFFFFFFF (otherwise valid) does not make the loss
// figure huge; the other machine's claims about its tick do not upset the
// pace either.
TEST(HostilePeer, HugeSequenceNumbersAndTicksLeaveTheFiguresSane) {
    VirtualMatchOptions options;
    options.faults.maxDelayMs = 20;
    options.ticks = 1500;
    RandomPlayers players;
    VirtualMatch match(options, std::ref(players));
    match.Run(5000);
    ASSERT_TRUE(match.Peer(0).Session());
    InputPacket liar;
    liar.sequence = 0xFFFFFFFF;
    liar.currentTick = kMaxTick;
    liar.advantage = -100;
    liar.dismissedEnd = kMaxTick;
    liar.checksum = match.Peer(0).Session()->FrameOf(0).checksum;
    match.Link().End(1).Send(EncodePacket(liar), false);
    match.Run(600000);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(match.Peer(i).End(), PeerEnd::Done) << i;
    const PeerFigures f = match.Peer(0).Figures();
    EXPECT_EQ(f.packetsLost, 0u);
    EXPECT_EQ(f.badPackets, 0u);
    EXPECT_EQ(match.Checksums(0), match.Checksums(1));

    LinkStats stats;
    for (uint32_t s = 1; s <= 100; ++s) stats.CountSequence(s == 50 ? 0xFFFFFFFF : s);
    EXPECT_EQ(stats.PacketsLost(), 1u);  // 50 never came; the huge one is not believed
}

// A machine that sends only packets that make no sense is named for that,
// and is told so.
TEST(HostilePeer, AGarbageFloodEndsAsGarbledNotAsSilent) {
    VirtualMatchOptions options;
    options.ticks = 0;
    RandomPlayers players;
    VirtualMatch match(options, std::ref(players));
    match.Run(1000);
    match.Freeze(1);
    const uint64_t frozeAt = match.Now();
    const std::vector<uint8_t> garbage = {'Q', 'X', kProtocolVersion, 3, 1, 2, 3};
    while (!match.Peer(0).Ended() && match.Now() < frozeAt + 20000) {
        match.Link().End(1).Send(garbage, false);
        match.Step();
    }
    EXPECT_EQ(match.Peer(0).End(), PeerEnd::Garbled);
    EXPECT_NEAR(static_cast<double>(match.Now() - frozeAt), 5000, 100);
    EXPECT_GT(match.Peer(0).Figures().badPackets, 1000u);
    // The flooder hears why (the goodbye arrives once it listens again).
    NetGame& flooder = match.Peer(1);
    for (int n = 0; n < 100 && !flooder.Ended(); ++n) {
        match.Link().SetTime(match.Now() + 1);
        flooder.Update(match.Now());
    }
    EXPECT_EQ(flooder.End(), PeerEnd::Refused);
}

}  // namespace
}  // namespace qx::net
