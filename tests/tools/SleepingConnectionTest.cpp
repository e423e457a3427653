#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "net/MatchProtocol.h"
#include "net/WebSocketMatchConnection.h"
#include "tools/sim/SleepingConnection.h"

namespace qx::sim {
namespace {

using State = net::MatchClient::State;

class NullSocket : public net::SocketPort {
  public:
    void Send(const std::vector<uint8_t>&) override {}
    void Close() override {}
};

// A WebSocket connection whose socket is served only while the simulator
// sleeps, as under Node: each sleep moves the clock on and runs what the
// event loop has due by then.
struct EventLoop {
    uint64_t now = 0;
    uint64_t slept = 0;
    int sleeps = 0;
    net::WebSocketMatchConnection* socket = nullptr;
    std::vector<std::pair<uint64_t, std::function<void()>>> due;

    void Sleep(uint32_t ms) {
        ++sleeps;
        slept += ms;
        now += ms == 0 ? 1 : ms;
        for (auto& [at, callback] : due) {
            if (callback && at <= now) std::exchange(callback, nullptr)();
        }
    }
};

std::unique_ptr<SleepingConnection> Connect(EventLoop& loop, net::MatchRequest request) {
    auto inner = std::make_unique<net::WebSocketMatchConnection>(
        std::make_unique<NullSocket>(), request, [&loop] { return loop.now; });
    loop.socket = inner.get();
    return std::make_unique<SleepingConnection>(std::move(inner),
                                                [&loop](uint32_t ms) { loop.Sleep(ms); });
}

TEST(SleepingConnection, TheSocketIsServedWhileTheSimulatorWaits) {
    EventLoop loop;
    net::MatchRequest join;
    join.kind = net::MatchRequest::Kind::Join;
    join.code = "7K2M9QXZ";
    auto connection = Connect(loop, join);
    loop.due.emplace_back(120, [&] { loop.socket->Opened(); });
    loop.due.emplace_back(260, [&] {
        net::MatchMessage joined;
        joined.type = net::MatchType::Joined;
        joined.code = "7K2M9QXZ";
        joined.side = net::NetSide::Rebel;
        joined.seed = 5;
        const auto frame = net::EncodeMatch(joined);
        loop.socket->Frame(frame.data(), frame.size());
    });
    State state = connection->Update(50);
    while (state != State::InRoom && state != State::Failed) state = connection->Update(50);
    EXPECT_EQ(state, State::InRoom);
    EXPECT_GE(loop.now, 260u);
    EXPECT_LT(loop.now, 400u);

    // In the room nothing more waits for the answer; a pending event (the
    // joiner's Connected) is taken without sleeping, and only then waits
    // sleep again.
    const int sleeps = loop.sleeps;
    EXPECT_EQ(connection->Update(50), State::InRoom);
    connection->Wait(5);
    EXPECT_EQ(loop.sleeps, sleeps);
    std::vector<uint8_t> data;
    EXPECT_EQ(connection->Poll(data), net::LinkEvent::Connected);
    connection->Wait(5);
    EXPECT_EQ(loop.sleeps, sleeps + 1);
}

TEST(SleepingConnection, AServerThatNeverAnswersFailsAfterTheConnectTime) {
    EventLoop loop;
    net::MatchRequest quick;
    auto connection = Connect(loop, quick);
    State state = connection->Update(50);
    while (state != State::InRoom && state != State::Failed && loop.now < 60000) {
        state = connection->Update(50);
    }
    EXPECT_EQ(state, State::Failed);
    EXPECT_NE(connection->Client().Failure().find("cannot be reached"), std::string::npos);
    EXPECT_GE(loop.now, net::WebSocketMatchConnection::kConnectMs);
    EXPECT_LT(loop.now, net::WebSocketMatchConnection::kConnectMs + 200);
}

}  // namespace
}  // namespace qx::sim
