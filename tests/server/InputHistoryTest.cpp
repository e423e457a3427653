#include <gtest/gtest.h>

#include "net/MatchProtocol.h"
#include "server/InputHistory.h"

namespace qx::server {
namespace {

using net::NetSide;

net::InputList ListFor(uint32_t tick) {
    net::InputList list;
    for (uint32_t i = 0; i < tick % 3; ++i) list.Add(GameInput::Target(tick % 600, i));
    if (tick % 5 == 0) list.Add(GameInput::Fire(Weapon::Down));
    return list;
}

// Decodes what Read gave, tick by tick.
std::vector<net::InputList> Decode(const std::vector<uint8_t>& bytes, uint32_t first,
                                   uint32_t count) {
    const std::vector<uint8_t> frame = net::EncodeFeed(
        NetSide::Emperor, first, static_cast<uint8_t>(count), bytes.data(), bytes.size());
    net::FeedFrame feed;
    const char* why = nullptr;
    EXPECT_TRUE(net::DecodeFeed(frame.data(), frame.size(), feed, why)) << why;
    return feed.inputs;
}

TEST(InputHistory, KeepsTicksInOrderAndReadsFromAnyTick) {
    InputHistory history;
    EXPECT_FALSE(history.Add(NetSide::Emperor, 2, ListFor(2)));  // not the next tick
    for (uint32_t t = 1; t <= 200; ++t) ASSERT_TRUE(history.Add(NetSide::Emperor, t, ListFor(t)));
    EXPECT_FALSE(history.Add(NetSide::Emperor, 150, ListFor(150)));  // already there
    for (uint32_t t = 1; t <= 120; ++t) history.Add(NetSide::Rebel, t, net::InputList{});
    EXPECT_EQ(history.Known(NetSide::Emperor), 200u);
    EXPECT_EQ(history.Confirmed(), 120u);

    for (uint32_t first : {1u, 31u, 32u, 33u, 64u, 65u, 190u}) {
        std::vector<uint8_t> bytes;
        const uint32_t count = history.Read(NetSide::Emperor, first, 32, 199, bytes);
        EXPECT_EQ(count, std::min(32u, 200u - first));
        const std::vector<net::InputList> lists = Decode(bytes, first, count);
        ASSERT_EQ(lists.size(), count);
        for (uint32_t i = 0; i < count; ++i) EXPECT_EQ(lists[i], ListFor(first + i)) << first + i;
    }
    std::vector<uint8_t> none;
    EXPECT_EQ(history.Read(NetSide::Rebel, 121, 32, 500, none), 0u);
    EXPECT_EQ(history.Read(NetSide::Rebel, 0, 32, 500, none), 0u);
}

TEST(InputHistory, StopsAtItsBound) {
    InputHistory history;
    uint32_t t = 1;
    while (history.Add(NetSide::Rebel, t, net::InputList{})) ++t;
    EXPECT_EQ(t, InputHistory::kMaxTicks + 1);
    EXPECT_TRUE(history.Full());
    EXPECT_FALSE(history.Add(NetSide::Emperor, 1, net::InputList{}));
}

}  // namespace
}  // namespace qx::server
