#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "game/Game.h"
#include "net/NetEndOfGame.h"
#include "net/NetReplayRecorder.h"
#include "net/PacketCodec.h"
#include "net/RandomPlayer.h"
#include "net/VirtualMatch.h"
#include "replay/ReplayCheck.h"
#include "tests/support/StateEditor.h"

namespace qx::net {
namespace {

LinkFaults BadLink(uint64_t seed) {
    LinkFaults faults;
    faults.maxDelayMs = 150;
    faults.dropPercent = 10;
    faults.duplicatePercent = 5;
    faults.seed = seed;
    return faults;
}

// Both machines' players, drawn at random; machine 0 plays the Emperor.
struct RandomPlayers {
    RandomPlayer emperor{NetSide::Emperor, 11};
    RandomPlayer rebel{NetSide::Rebel, 12};
    InputList operator()(int index, uint32_t tick) {
        return index == 0 ? emperor.InputsFor(tick) : rebel.InputsFor(tick);
    }
};

// The checksums of one machine running the same game with every input
// known: per tick the Emperor's inputs, then the Rebel's, then the tick, and
// a finished game's windows answered at once with the same players.
std::vector<uint64_t> KnownInputsRun(uint32_t seed, uint32_t ticks) {
    Game game;
    game.Start(seed, {true, true});
    game.Apply(GameInput::Repaint());
    game.Apply(GameInput::NewGame(PlayerChoice{true, true}));
    RandomPlayers players;
    std::vector<uint64_t> sums{Checksum(game.State())};
    for (uint32_t tick = 1; tick <= ticks; ++tick) {
        for (const GameInput& in : players(0, tick)) game.Apply(in);
        for (const GameInput& in : players(1, tick)) game.Apply(in);
        game.Tick();
        if (net::EndsGame(game.State())) {
            for (const GameInput& in : net::EndOfGameAnswers()) game.Apply(in);
        }
        sums.push_back(Checksum(game.State()));
    }
    return sums;
}

TEST(NetworkGame, TwoMachinesOnABadLinkStayTheSame) {
    for (const uint32_t tickMs : {30u, 0u}) {
        VirtualMatchOptions options;
        options.faults = BadLink(3);
        options.seed = 77;
        options.ticks = 3000;
        options.tickMs = tickMs;
        options.syncTestTicks = tickMs == 0 ? 8 : 0;  // the sync test under rollback
        RandomPlayers players;
        VirtualMatch match(options, std::ref(players));
        NetReplayRecorder replays[2];
        match.OnConfirmed([&](int index, uint32_t tick, const Frame& frame) {
            if (tick == 1) replays[index].Begin(77, match.Peer(index).Session()->FrameOf(0).state);
            replays[index].Add(frame);
        });
        match.Run(600000);
        // Both machines recorded the same replay, which plays back to the
        // same end.
        EXPECT_EQ(replays[0].Finish(), replays[1].Finish());
        EXPECT_EQ(replays[0].Finish().finalChecksum, match.Checksums(0).back());
        EXPECT_FALSE(CheckReplay(replays[0].Finish()))
            << CheckReplay(replays[0].Finish()).Describe();
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(match.Peer(i).End(), PeerEnd::Done) << i << " " << match.Peer(i).EndDetail();
            EXPECT_GT(match.Peer(i).Session()->Stats().rollbacks, 10);
            EXPECT_LE(match.Peer(i).Session()->Stats().largestRollback, 8);
            EXPECT_GT(match.Peer(i).Figures().packetsLost, 0u);
            EXPECT_EQ(match.Peer(i).Figures().badPackets, 0u);
        }
        EXPECT_EQ(match.Checksums(0).size(), 3001u);
        EXPECT_EQ(match.Checksums(0), match.Checksums(1));
        EXPECT_EQ(match.Checksums(0), KnownInputsRun(77, 3000));
    }
}

// The Emperor parks beside the Rebel's base and keeps firing: the third
// round he wins ends the game.
InputList Hunter(int index, uint32_t tick) {
    InputList list;
    if (index != 0) return list;
    if (tick == 1) list.AddTarget(300, 380);
    if (tick >= 20 && tick % 4 == 0) list.Add(GameInput::Fire(Weapon::Forward));
    return list;
}

TEST(NetworkGame, TheEndOfAGameShowsOnBothMachinesAndBothMustCloseIt) {
    VirtualMatchOptions options;
    options.faults = BadLink(5);
    options.seed = 13;
    options.ticks = 1600;
    VirtualMatch match(options, Hunter);
    std::map<int, uint32_t> endTick;
    auto onConfirmed = [&](int index, uint32_t tick, const Frame& frame) {
        if (frame.ended && !endTick.count(index)) {
            endTick[index] = tick;
            EXPECT_EQ(frame.endCaption, "End..");
            EXPECT_NE(frame.endText.find("povstalcu"), std::string::npos);
        }
    };
    // The Rebel's player reads the first box for two seconds.
    uint64_t rebelSawEnd = 0;
    uint32_t emperorTickWhileWaiting = 0;
    match.DismissWhen([&](int index, uint64_t now) {
        if (index == 0 || emperorTickWhileWaiting != 0) return true;
        if (rebelSawEnd == 0) rebelSawEnd = now;
        if (now < rebelSawEnd + 2000) return false;
        emperorTickWhileWaiting = match.Peer(0).Session()->CurrentTick();
        return true;
    });
    NetReplayRecorder replay;
    match.OnConfirmed(
        [&, inner = std::move(onConfirmed)](int index, uint32_t tick, const Frame& frame) {
            inner(index, tick, frame);
            if (index != 0) return;
            if (tick == 1) replay.Begin(13, match.Peer(0).Session()->FrameOf(0).state);
            replay.Add(frame);
        });
    match.Run(600000);
    EXPECT_FALSE(CheckReplay(replay.Finish())) << CheckReplay(replay.Finish()).Describe();
    ASSERT_EQ(endTick.size(), 2u);
    EXPECT_EQ(endTick[0], endTick[1]);
    EXPECT_EQ(emperorTickWhileWaiting, endTick[0]);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(match.Peer(i).End(), PeerEnd::Done) << i;
    EXPECT_EQ(match.Checksums(0), match.Checksums(1));
}

TEST(NetworkGame, ADifferenceStopsBothMachinesNamingTheTick) {
    VirtualMatchOptions options;
    options.faults = BadLink(7);
    options.ticks = 3000;
    // Only the Rebel's player plays, so the Rebel's machine never has to run
    // ticks again (which would undo the change below).
    RandomPlayer rebel(NetSide::Rebel, 3);
    VirtualMatch match(options, [&](int index, uint32_t tick) {
        return index == 1 ? rebel.InputsFor(tick) : InputList{};
    });
    while (!match.Peer(1).Session() || match.Peer(1).Session()->CurrentTick() < 300) match.Step();
    // Something outside the rules moves the Rebel on one machine only.
    Game& game = match.Peer(1).Session()->GetGame();
    GameState changed = game.State();
    ShipEditor(changed.rebel).At(changed.rebel.X() + 3, changed.rebel.Y());
    game.Restore(changed);
    match.Run(60000);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(match.Peer(i).End(), PeerEnd::Desync) << i;
        EXPECT_GT(match.Peer(i).EndTick(), 290u);
    }
    // Each names the tick it compared (the same one, unless both found the
    // difference at once).
    EXPECT_NEAR(match.Peer(0).EndTick(), match.Peer(1).EndTick(), 8.0);
}

TEST(NetworkGame, BadPacketsAreCountedAndChangeNothing) {
    VirtualMatchOptions options;
    options.faults.maxDelayMs = 20;
    options.ticks = 1000;
    RandomPlayers players;
    VirtualMatch match(options, std::ref(players));
    match.Run(2000);
    ASSERT_TRUE(match.Peer(0).Session());
    const uint32_t now = match.Peer(0).Session()->CurrentTick();
    Transport& intruder = match.Link().End(1);
    InputPacket emperorsInputs;  // the Rebel's machine sending the Emperor's controls
    emperorsInputs.firstTick = now;
    emperorsInputs.inputs.resize(1);
    emperorsInputs.inputs[0].Add(GameInput::Target(10, 10));
    InputPacket ackTooFar;  // acknowledging inputs never sent
    ackTooFar.ack = now + 500;
    InputPacket farAhead;  // inputs for ticks far in the future
    farAhead.firstTick = now + 200;
    farAhead.inputs.resize(3);
    const std::vector<std::vector<uint8_t>> bad = {
        {1, 2, 3},
        std::vector<uint8_t>(kMaxPacketSize, 0xFF),
        EncodePacket(emperorsInputs),
        EncodePacket(ackTooFar),
        EncodePacket(farAhead),
        EncodePacket(StartPacket{1, NetSide::Rebel, 5}),
    };
    for (const auto& bytes : bad) intruder.Send(bytes, false);
    // A hello again only asks for the start again (the joiner's may be lost).
    intruder.Send(EncodePacket(HelloPacket{5}), false);
    match.Run(600000);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(match.Peer(i).End(), PeerEnd::Done) << i;
    EXPECT_EQ(match.Peer(0).Figures().badPackets, bad.size());
    EXPECT_EQ(match.Checksums(0), match.Checksums(1));
}

// The newest input packet waiting at `end`, if any.
std::optional<InputPacket> LastInputs(Transport& end) {
    std::optional<InputPacket> last;
    std::vector<uint8_t> data;
    for (LinkEvent e; (e = end.Poll(data)) != LinkEvent::None;) {
        Packet packet;
        const char* error = nullptr;
        if (e == LinkEvent::Received && DecodePacket(data.data(), data.size(), packet, error) &&
            std::holds_alternative<InputPacket>(packet)) {
            last = std::get<InputPacket>(packet);
        }
    }
    return last;
}

// A local input is on the wire when the call that takes it returns, and new
// inputs of the other machine are acknowledged in the Pump that reads them
// (else both wait for this machine's next tick, and the round trip
// measured holds its tick phase).
TEST(NetworkGame, InputsAndAcknowledgementsLeaveInTheCallThatTakesThem) {
    MemoryLink link(LinkFaults{});
    PeerOptions options;
    options.seed = 3;
    NetPeer host(link.End(0), options);
    Transport& other = link.End(1);
    host.Pump(0);
    LastInputs(other);
    other.Send(EncodePacket(HelloPacket{0}), true);
    host.Pump(1);
    ASSERT_TRUE(host.Started());
    LastInputs(other);
    for (uint64_t now = 2; now < 6; ++now) {
        if (!host.WantsLocalInput()) host.Advance(now);
        InputList mine;
        mine.AddTarget(100 + static_cast<int>(now), 50);
        const uint32_t tick = host.Session()->NextLocalTick();
        ASSERT_TRUE(host.AddLocalInput(mine, now));
        const auto sent = LastInputs(other);
        ASSERT_TRUE(sent);
        ASSERT_EQ(sent->firstTick + sent->inputs.size() - 1, tick);
        EXPECT_EQ(sent->inputs.back(), mine);
    }
    InputPacket theirs;
    theirs.sequence = 1;
    theirs.inputs.resize(2);
    other.Send(EncodePacket(theirs), false);
    host.Pump(7);
    const auto answer = LastInputs(other);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->ack, 2u);
}

TEST(NetworkGame, SilenceOrLeavingEndsTheGameOnTheOtherMachine) {
    VirtualMatchOptions options;
    options.ticks = 0;
    RandomPlayers players;
    VirtualMatch silent(options, std::ref(players));
    silent.Run(1000);
    silent.Freeze(1);
    const uint64_t frozeAt = silent.Now();
    while (!silent.Peer(0).Ended() && silent.Now() < frozeAt + 20000) silent.Step();
    EXPECT_EQ(silent.Peer(0).End(), PeerEnd::Silent);
    EXPECT_NEAR(static_cast<double>(silent.Now() - frozeAt), 5000, 100);

    VirtualMatch leaving(options, std::ref(players));
    leaving.Run(1000);
    leaving.Peer(1).Leave();
    leaving.Peer(1).Close();
    leaving.Run(1000);
    EXPECT_EQ(leaving.Peer(1).End(), PeerEnd::Quit);
    EXPECT_EQ(leaving.Peer(0).End(), PeerEnd::Left);
}

}  // namespace
}  // namespace qx::net
