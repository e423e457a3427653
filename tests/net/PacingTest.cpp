#include <gtest/gtest.h>

#include <array>

#include "net/Pacing.h"
#include "net/RandomPlayer.h"
#include "net/VirtualMatch.h"

namespace qx::net {
namespace {

// Each machine's time of its first and last tick, on the virtual clock.
struct TickTimes {
    std::array<uint64_t, 2> first{};
    std::array<uint64_t, 2> last{};
    std::array<uint32_t, 2> prediction{};
};

TickTimes Play(VirtualMatch& match, uint32_t ticks) {
    TickTimes t;
    while (match.Now() < 600000 && !(match.Peer(0).Ended() && match.Peer(1).Ended())) {
        match.Step();
        for (int i = 0; i < 2; ++i) {
            const RollbackSession* s = match.Peer(i).Session();
            if (!s) continue;
            if (s->CurrentTick() == 1 && t.first[i] == 0) t.first[i] = match.Now();
            if (s->CurrentTick() == ticks && t.last[i] == 0) t.last[i] = match.Now();
            t.prediction[i] = std::max(t.prediction[i], s->Prediction());
        }
    }
    return t;
}

// Some 200 ms between the players with jitter, as two links of 50 ms +- 20
// ms through a server: over datagrams that are lost, and over a stream whose
// lost segments hold everything behind them for a retransmission. Neither
// machine skips more than a tick in fifty to wait for the other or for its
// inputs, where one packet's reading of the lead and a fixed prediction of
// eight ticks lost about one in sixteen; the games stay the same.
TEST(Pacing, ALongJitteryLinkKeepsThePaceOverDatagramsAndOverAStream) {
    for (const bool stream : {false, true}) {
        VirtualMatchOptions options;
        options.faults.minDelayMs = 60;
        options.faults.maxDelayMs = 140;
        options.faults.dropPercent = 5;
        options.faults.stream = stream;
        options.faults.seed = 5;
        options.ticks = 1500;
        RandomPlayer emperor(NetSide::Emperor, 3);
        RandomPlayer rebel(NetSide::Rebel, 4);
        VirtualMatch match(options, [&](int index, uint32_t tick) {
            return index == 0 ? emperor.InputsFor(tick) : rebel.InputsFor(tick);
        });
        const TickTimes t = Play(match, options.ticks);
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(testing::Message()
                         << (stream ? "stream" : "datagrams") << " machine " << i);
            EXPECT_EQ(match.Peer(i).End(), PeerEnd::Done) << match.Peer(i).EndDetail();
            ASSERT_GT(t.last[i], t.first[i]);
            const uint64_t slots = (t.last[i] - t.first[i]) / Pacing::kTickMs + 1;
            EXPECT_LE(slots, options.ticks + options.ticks / 50);
            // The held segments call for predicting further ahead.
            if (stream) {
                EXPECT_GT(t.prediction[i], RollbackSession::kDefaultPrediction + 2);
            }
        }
        EXPECT_EQ(match.Checksums(0).size(), options.ticks + 1u);
        EXPECT_EQ(match.Checksums(0), match.Checksums(1));
    }
}

}  // namespace
}  // namespace qx::net
