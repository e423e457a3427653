#include <arpa/inet.h>
#include <enet/enet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "net/EnetTransport.h"
#include "net/NetPeer.h"
#include "net/PacketCodec.h"
#include "tests/support/FreePort.h"

namespace qx::net {
namespace {

uint64_t Clock() {
    static const auto start = std::chrono::steady_clock::now();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count());
}

using qx::test::FreePort;

// One machine of a network game on a real socket: its transport, its peer,
// and a step that plays as fast as the link allows with empty inputs.
struct Machine {
    std::unique_ptr<EnetTransport> transport;
    std::unique_ptr<NetPeer> peer;

    static Machine Host(uint16_t port, uint32_t ticks) {
        std::string error;
        Machine m;
        m.transport = EnetTransport::Listen(port, error);
        EXPECT_TRUE(m.transport) << error;
        PeerOptions o;
        o.ticks = ticks;
        o.seed = 5;
        m.peer = std::make_unique<NetPeer>(*m.transport, o);
        return m;
    }
    static Machine Join(uint16_t port, uint32_t ticks) {
        std::string error;
        Machine m;
        m.transport = EnetTransport::Join("127.0.0.1", port, error);
        EXPECT_TRUE(m.transport) << error;
        PeerOptions o;
        o.hosting = false;
        o.ticks = ticks;
        m.peer = std::make_unique<NetPeer>(*m.transport, o);
        return m;
    }
    void Step() {
        peer->Pump(Clock());
        if (RollbackSession* s = peer->Session(); s && !peer->Ended()) {
            if (s->OpenEnd()) s->DismissEnd();
            while (peer->AddLocalInput({}, Clock())) {
            }
            peer->Advance(Clock());
        }
        transport->Wait(1);
    }
};

// A raw ENet client, as an attacker would use one.
struct RawClient {
    ENetHost* host = nullptr;
    ENetPeer* peer = nullptr;
    explicit RawClient(uint16_t port) {
        host = enet_host_create(nullptr, 1, 2, 0, 0);
        ENetAddress address{};
        enet_address_set_host(&address, "127.0.0.1");
        address.port = port;
        peer = enet_host_connect(host, &address, 2, kProtocolVersion);
        enet_host_flush(host);
    }
    ~RawClient() { enet_host_destroy(host); }
    // Services the connection for `ms`; the last event type seen.
    ENetEventType Service(uint32_t ms, uint32_t* data = nullptr) {
        ENetEventType last = ENET_EVENT_TYPE_NONE;
        const uint64_t until = Clock() + ms;
        ENetEvent e;
        while (Clock() < until) {
            if (enet_host_service(host, &e, 5) <= 0) continue;
            if (e.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(e.packet);
            last = e.type;
            if (e.type == ENET_EVENT_TYPE_DISCONNECT && data) *data = e.data;
            if (e.type == ENET_EVENT_TYPE_DISCONNECT) break;
        }
        return last;
    }
};

void RunUntil(const std::function<bool()>& done, std::initializer_list<Machine*> machines,
              uint64_t limitMs) {
    const uint64_t until = Clock() + limitMs;
    while (!done() && Clock() < until) {
        for (Machine* m : machines) m->Step();
    }
}

// Half-open connections (a CONNECT whose handshake is never finished), a
// connected machine that never says anything and a raw UDP sender of
// garbage neither keep the real player out nor end the hosting; the stray
// connections are dropped within a few seconds.
TEST(EnetHost, StrayAndSilentConnectionsDoNotKeepTheRealPlayerOut) {
    const uint16_t port = FreePort();
    Machine host = Machine::Host(port, 200);
    std::vector<std::unique_ptr<RawClient>> halfOpen;
    for (int i = 0; i < 3; ++i) halfOpen.push_back(std::make_unique<RawClient>(port));
    RawClient silent(port);
    const int udp = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(port);
    const uint8_t junk[] = {0xFF, 0xFF, 0x80, 0x01, 'Q', 'X', 1, 1, 0, 0, 0, 0};
    for (int i = 0; i < 20; ++i) {
        sendto(udp, junk, sizeof junk, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    close(udp);
    // The silent one finishes ENet's handshake and then says nothing.
    for (int i = 0; i < 50 && silent.peer->state != ENET_PEER_STATE_CONNECTED; ++i) {
        host.Step();
        silent.Service(5);
    }
    ASSERT_EQ(silent.peer->state, ENET_PEER_STATE_CONNECTED);
    EXPECT_GE(host.transport->PendingConnections(), 4u);

    Machine join = Machine::Join(port, 200);
    RunUntil([&] { return host.peer->Ended() && join.peer->Ended(); }, {&host, &join}, 20000);
    EXPECT_EQ(host.peer->End(), PeerEnd::Done) << host.peer->EndDetail();
    EXPECT_EQ(join.peer->End(), PeerEnd::Done) << join.peer->EndDetail();

    // Told the game is full once the real player is in.
    uint32_t why = 99;
    silent.Service(1000, &why);
    EXPECT_EQ(why, static_cast<uint32_t>(LinkClose::Full));
}

// With nobody real joining, stray connections are dropped and the host
// keeps waiting.
TEST(EnetHost, AHostDropsStrayConnectionsAndKeepsWaiting) {
    const uint16_t port = FreePort();
    Machine host = Machine::Host(port, 100);
    RawClient halfOpen(port);
    RawClient silent(port);
    const uint64_t began = Clock();
    uint32_t why = 99;
    while (Clock() < began + EnetTransport::kPendingMs + 2000 &&
           silent.peer->state != ENET_PEER_STATE_DISCONNECTED) {
        host.Step();
        silent.Service(2, &why);
    }
    EXPECT_EQ(silent.peer->state, ENET_PEER_STATE_DISCONNECTED);
    EXPECT_EQ(why, static_cast<uint32_t>(LinkClose::Lost));
    for (int i = 0; i < 20; ++i) host.Step();
    EXPECT_EQ(host.transport->PendingConnections(), 0u);
    EXPECT_EQ(host.transport->DroppedConnections(), 2u);
    EXPECT_FALSE(host.peer->Ended());
}

// A second machine joining a game that runs hears that it is full; the
// game goes on.
TEST(EnetHost, ASecondJoinerIsToldTheGameIsFull) {
    const uint16_t port = FreePort();
    Machine host = Machine::Host(port, 0);
    Machine join = Machine::Join(port, 0);
    RunUntil([&] { return join.peer->Started() && host.peer->Started(); }, {&host, &join}, 5000);
    ASSERT_TRUE(join.peer->Started());
    Machine late = Machine::Join(port, 0);
    RunUntil([&] { return late.peer->Ended(); }, {&host, &join, &late}, 5000);
    EXPECT_EQ(late.peer->End(), PeerEnd::Full);
    EXPECT_FALSE(host.peer->Ended());
    EXPECT_FALSE(join.peer->Ended());
    // Leaving is heard as leaving.
    join.peer->Leave();
    join.peer->Close();
    RunUntil([&] { return host.peer->Ended(); }, {&host}, 3000);
    EXPECT_EQ(host.peer->End(), PeerEnd::Left);
}

}  // namespace
}  // namespace qx::net
