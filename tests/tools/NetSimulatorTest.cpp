#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "net/EnetTransport.h"
#include "net/PacketCodec.h"
#include "replay/ReplayCheck.h"
#include "tests/support/FreePort.h"
#include "tools/sim/NetSimulator.h"

namespace qx::sim {
namespace {

using qx::test::FreePort;

// A host that answers the hello with a start and at once says the games
// differ, before the joiner has run a tick: the joiner ends with the
// difference and writes no replay, or (if it began the game in between) one
// that has its start and plays.
TEST(NetSimulator, ADifferenceBeforeTheFirstTickLeavesNoUnplayableReplay) {
    const uint16_t port = FreePort();
    std::string error;
    auto listening = net::EnetTransport::Listen(port, error);
    ASSERT_TRUE(listening) << error;
    std::thread host([&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        std::vector<uint8_t> data;
        bool answered = false;
        while (std::chrono::steady_clock::now() < until) {
            const net::LinkEvent e = listening->Poll(data);
            if (e == net::LinkEvent::Received && !answered) {
                answered = true;
                listening->Send(net::EncodePacket(net::StartPacket{77, net::NetSide::Emperor, 50}),
                                true);
                listening->Send(net::EncodePacket(net::ByePacket{net::ByeReason::Desync, 0}), true);
            }
            if (e == net::LinkEvent::Disconnected) break;
            listening->Wait(5);
        }
        listening->Close(200);
    });
    SimOptions options;
    options.ticks = 50;
    options.net.joining = true;
    options.net.host = "127.0.0.1";
    options.net.port = port;
    Replay record;
    record.seed = 12345;  // untouched unless a replay is written
    const NetSimResult result = RunNetworkGame(options, {}, nullptr, &record);
    host.join();
    EXPECT_EQ(result.end, net::PeerEnd::Desync);
    EXPECT_EQ(NetExitStatus(result.end), 1);
    if (result.started) {
        EXPECT_EQ(record.seed, 77u);
        EXPECT_FALSE(CheckReplay(record)) << CheckReplay(record).Describe();
    } else {
        EXPECT_EQ(record.seed, 12345u);
    }
}

}  // namespace
}  // namespace qx::sim
