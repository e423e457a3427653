#include <gtest/gtest.h>

#include <sstream>

#include "net/NetReplayRecorder.h"
#include "net/RandomPlayer.h"
#include "net/VirtualMatch.h"
#include "replay/ReplayCheck.h"
#include "tools/sim/ConfirmedRecorder.h"
#include "tools/sim/SpectatorGame.h"

namespace qx::sim {
namespace {

using net::InputList;
using net::NetSide;

constexpr uint32_t kSeed = 13;
constexpr uint32_t kTicks = 1600;

// The Emperor parks beside the Rebel's base and fires (so games end and
// their boxes must be closed), then steers at random; the Rebel presses
// random keys.
struct Players {
    net::RandomPlayer emperor{NetSide::Emperor, 21};
    net::RandomPlayer rebel{NetSide::Rebel, 22};
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
    net::VirtualMatchOptions options;
    options.faults.maxDelayMs = 150;
    options.faults.dropPercent = 10;
    options.faults.seed = 4;
    options.seed = kSeed;
    options.ticks = kTicks;
    Players players;
    net::VirtualMatch match(options, std::ref(players));
    PlayedGame played;
    net::NetReplayRecorder replay;
    match.OnConfirmed([&](int index, uint32_t tick, const net::Frame& frame) {
        if (index != 0) return;
        if (tick == 1) replay.Begin(kSeed, match.Peer(0).Session()->FrameOf(0).state);
        replay.Add(frame);
        played.inputs.emplace_back(frame.emperor, frame.rebel);
        played.gamesEnded += frame.ended;
    });
    match.Run(600000);
    EXPECT_EQ(match.Peer(0).End(), net::PeerEnd::Done);
    played.checksums = match.Checksums(0);
    played.replay = replay.Finish();
    return played;
}

const PlayedGame& Played() {
    static const PlayedGame played = PlayOverABadLink();
    return played;
}

struct Watched {
    SimSummary summary;
    std::vector<uint64_t> checksums;
    Replay replay;
};

class ChecksumTap : public net::ConfirmedListener {
  public:
    ChecksumTap(ConfirmedRecorder& inner, std::vector<uint64_t>& sums) : inner(inner), sums(sums) {}
    void OnConfirmed(uint32_t tick, const net::Frame& frame) override {
        sums.push_back(frame.checksum);
        inner.OnConfirmed(tick, frame);
    }

  private:
    ConfirmedRecorder& inner;
    std::vector<uint64_t>& sums;
};

Watched Watch(const PlayedGame& played, int32_t syncTestTicks) {
    Watched watched;
    ConfirmedRecorder recorder(watched.summary, nullptr);
    ChecksumTap tap(recorder, watched.checksums);
    SpectatorGame game(net::StartPacket{kSeed, NetSide::Emperor, kTicks}, syncTestTicks, tap);
    recorder.Begin(kSeed, game.Session().FrameOf(0));
    watched.checksums.push_back(game.Session().FrameOf(0).checksum);
    for (const auto& [emperor, rebel] : played.inputs) {
        EXPECT_TRUE(game.Play(emperor, rebel)) << game.Failure();
    }
    watched.replay = recorder.Finish();
    return watched;
}

TEST(SpectatorGame, TheFeedPlaysToThePlayersGameTickByTickWithItsEnds) {
    const PlayedGame& played = Played();
    ASSERT_EQ(played.inputs.size(), kTicks);
    ASSERT_GT(played.gamesEnded, 0)
        << "no game ended, so closing the end-of-game box was not tried";
    for (const int32_t syncTest : {0, 8}) {
        const Watched watched = Watch(played, syncTest);
        EXPECT_EQ(watched.checksums, played.checksums) << "sync test " << syncTest;
        EXPECT_EQ(watched.summary.gamesEnded, played.gamesEnded);
        EXPECT_EQ(watched.replay, played.replay);
        EXPECT_FALSE(CheckReplay(watched.replay)) << CheckReplay(watched.replay).Describe();
    }
}

TEST(SpectatorGame, AFeedWithAnotherSidesInputsOrPastTheEndStopsTheGame) {
    SimSummary summary;
    ConfirmedRecorder recorder(summary, nullptr);
    SpectatorGame game(net::StartPacket{kSeed, NetSide::Rebel, 3}, 0, recorder);
    InputList steering;
    steering.AddTarget(100, 100);
    ASSERT_TRUE(game.Play(steering, {}));
    // The Rebel cannot steer the Emperor's ship, nor the Emperor press the
    // Rebel's keys.
    EXPECT_FALSE(game.Play({}, steering));
    EXPECT_NE(game.Failure().find("tick 2"), std::string::npos) << game.Failure();
    EXPECT_EQ(game.Tick(), 1u);
    EXPECT_FALSE(game.Play({}, {}));  // a failed feed stays failed
    EXPECT_FALSE(game.Desync());

    SpectatorGame other(net::StartPacket{kSeed, NetSide::Emperor, 2}, 0, recorder);
    InputList key;
    key.Add(GameInput::Key(GameKey::Space));
    EXPECT_FALSE(other.Play(key, {}));
    EXPECT_EQ(other.Tick(), 0u);

    SpectatorGame shortGame(net::StartPacket{kSeed, NetSide::Emperor, 2}, 0, recorder);
    EXPECT_TRUE(shortGame.Play({}, {}));
    EXPECT_TRUE(shortGame.Play({}, {}));
    EXPECT_FALSE(shortGame.Play({}, {}));
    EXPECT_NE(shortGame.Failure().find("past the game's end"), std::string::npos);
    EXPECT_EQ(shortGame.Tick(), 2u);
}

}  // namespace
}  // namespace qx::sim
