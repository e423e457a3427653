#include <gtest/gtest.h>

#include "net/MatchProtocol.h"
#include "net/NetReplayRecorder.h"
#include "net/NetWatch.h"
#include "net/PacketCodec.h"
#include "net/RandomPlayer.h"
#include "net/VirtualMatch.h"
#include "replay/ReplayCheck.h"

namespace qx::net {
namespace {

constexpr uint32_t kSeed = 13;
constexpr uint32_t kTicks = 1600;

// The Emperor parks beside the Rebel's base and fires (so games end and
// their boxes must be closed), then steers at random; the Rebel presses
// random keys.
struct Players {
    RandomPlayer emperor{NetSide::Emperor, 21};
    RandomPlayer rebel{NetSide::Rebel, 22};
    InputList operator()(int index, uint32_t tick) {
        if (index == 1) return rebel.InputsFor(tick);
        if (tick > 1000) return emperor.InputsFor(tick);
        InputList list;
        if (tick == 1) list.AddTarget(300, 380);
        if (tick >= 20 && tick % 4 == 0) list.Add(GameInput::Fire(Weapon::Forward));
        return list;
    }
};

// What the players confirmed: both sides' inputs by tick (what the server
// keeps and feeds), the checksums and the replay.
struct PlayedGame {
    std::vector<std::pair<InputList, InputList>> inputs;
    std::vector<uint64_t> checksums;
    Replay replay;
    int64_t gamesEnded = 0;
};

PlayedGame PlayOverABadLink() {
    VirtualMatchOptions options;
    options.faults.maxDelayMs = 150;
    options.faults.dropPercent = 10;
    options.faults.seed = 4;
    options.seed = kSeed;
    options.ticks = kTicks;
    Players players;
    VirtualMatch match(options, std::ref(players));
    PlayedGame played;
    match.OnConfirmed([&](int index, uint32_t, const Frame& frame) {
        if (index != 0) return;
        played.inputs.emplace_back(frame.emperor, frame.rebel);
        played.gamesEnded += frame.ended;
    });
    match.Run(600000);
    EXPECT_EQ(match.Peer(0).End(), PeerEnd::Done);
    played.checksums = match.Checksums(0);
    played.replay = match.Peer(0).TakeReplay();
    return played;
}

// The server's side of a spectator's link: the start, then feed frames.
void SendFeed(Transport& server, NetSide side, uint32_t first,
              const std::vector<InputList>& lists) {
    std::vector<uint8_t> bytes;
    for (const InputList& list : lists) AppendTickInputs(list, bytes);
    server.Send(
        EncodeFeed(side, first, static_cast<uint8_t>(lists.size()), bytes.data(), bytes.size()),
        true);
}

class Checksums : public ConfirmedListener {
  public:
    void OnConfirmed(uint32_t, const Frame& frame) override { sums.push_back(frame.checksum); }
    std::vector<uint64_t> sums;
};

// The feed as the server sends it, in frames of up to 32 ticks per side, the
// spectator updated every virtual millisecond.
TEST(NetWatch, TheFeedPlaysThePlayersGameTickByTickWithItsEnds) {
    const PlayedGame played = PlayOverABadLink();
    ASSERT_EQ(played.inputs.size(), kTicks);
    ASSERT_GT(played.gamesEnded, 0)
        << "no game ended, so closing the end-of-game box was not tried";
    for (const int32_t syncTest : {0, 8}) {
        MemoryLink link(LinkFaults{});
        NetWatchOptions options;
        options.syncTestTicks = syncTest;
        NetWatch watch(link.End(1), options);
        Checksums tap;
        watch.SetConfirmedListener(&tap);
        Transport& server = link.End(0);
        server.Send(EncodePacket(StartPacket{kSeed, NetSide::Emperor, kTicks}), true);
        for (uint32_t first = 1; first <= kTicks; first += 32) {
            std::vector<InputList> emperor;
            std::vector<InputList> rebel;
            for (uint32_t t = first; t < first + 32 && t <= kTicks; ++t) {
                emperor.push_back(played.inputs[t - 1].first);
                rebel.push_back(played.inputs[t - 1].second);
            }
            SendFeed(server, NetSide::Emperor, first, emperor);
            SendFeed(server, NetSide::Rebel, first, rebel);
        }
        for (uint64_t now = 1; now < 200000 && !watch.Ended(); ++now) {
            link.SetTime(now);
            for (const NetRequest& r : watch.Update(now)) {
                if (r.kind == NetRequest::Kind::Begin)
                    tap.sums.push_back(watch.Session()->FrameOf(0).checksum);
            }
        }
        EXPECT_EQ(watch.End(), PeerEnd::Done) << watch.EndDetail();
        EXPECT_EQ(tap.sums, played.checksums) << "sync test " << syncTest;
        EXPECT_EQ(watch.TakeReplay(), played.replay);
        EXPECT_FALSE(CheckReplay(watch.TakeReplay())) << CheckReplay(watch.TakeReplay()).Describe();
    }
}

// One short feed: `emperor` and `rebel` lists from tick 1 of a game of
// `ticks`; returns how the spectator ended.
PeerEnd WatchFeed(uint32_t ticks, const std::vector<InputList>& emperor,
                  const std::vector<InputList>& rebel, uint32_t& played, std::string& detail,
                  uint64_t silentAfterMs = 0) {
    MemoryLink link(LinkFaults{});
    NetWatch watch(link.End(1), NetWatchOptions{});
    link.End(0).Send(EncodePacket(StartPacket{kSeed, NetSide::Emperor, ticks}), true);
    if (!emperor.empty()) SendFeed(link.End(0), NetSide::Emperor, 1, emperor);
    if (!rebel.empty()) SendFeed(link.End(0), NetSide::Rebel, 1, rebel);
    uint64_t now = 0;
    for (; now < 60000 && !watch.Ended(); ++now) {
        link.SetTime(now);
        watch.Update(now);
    }
    EXPECT_GE(now, silentAfterMs);
    played = watch.Tick();
    detail = watch.EndDetail();
    return watch.End();
}

TEST(NetWatch, AFeedWithAnotherSidesInputsOrPastTheEndOrSilentStops) {
    InputList steering;
    steering.AddTarget(100, 100);
    InputList key;
    key.Add(GameInput::Key(GameKey::Space));
    uint32_t played = 0;
    std::string detail;
    // The Rebel cannot steer the Emperor's ship, nor the Emperor press the
    // Rebel's keys: the game stops before the tick that says so.
    EXPECT_EQ(WatchFeed(3, {steering, {}}, {{}, steering}, played, detail), PeerEnd::Garbled);
    EXPECT_LE(played, 1u) << detail;
    EXPECT_EQ(WatchFeed(3, {key}, {{}}, played, detail), PeerEnd::Garbled);
    EXPECT_EQ(played, 0u) << detail;
    // A game of 2 ticks is done after 2, whatever more the feed holds.
    EXPECT_EQ(WatchFeed(2, {{}, {}, {}}, {{}, {}, {}}, played, detail), PeerEnd::Done);
    EXPECT_EQ(played, 2u);
    // A feed that stops without a word ends by the silence rule.
    EXPECT_EQ(WatchFeed(100, {{}, {}}, {{}, {}}, played, detail, LinkSilence::kSilentMs),
              PeerEnd::ServerSilent);
    EXPECT_EQ(played, 2u);
}

}  // namespace
}  // namespace qx::net
