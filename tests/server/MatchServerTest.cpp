#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "net/MatchProtocol.h"
#include "net/PacketCodec.h"
#include "server/MatchServer.h"

namespace qx::server {
namespace {

using net::MatchError;
using net::MatchMessage;
using net::MatchType;
using net::NetSide;

// A connection that keeps what the server sends it.
class FakeConnection : public Connection {
  public:
    explicit FakeConnection(std::string address = "10.0.0.1")
        : Connection(TransportKind::Enet, std::move(address), 0) {}
    void Send(const uint8_t* data, size_t size, bool reliable) override {
        frames.emplace_back(data, data + size);
        reliables.push_back(reliable);
        bytesSent += size;
    }
    void Close() override { closed = true; }
    size_t Backlog() const override { return 0; }

    // The control messages received since the last call.
    std::vector<MatchMessage> Messages() {
        std::vector<MatchMessage> out;
        for (; read < frames.size(); ++read) {
            MatchMessage m;
            const char* why = nullptr;
            if (net::DecodeMatch(frames[read].data(), frames[read].size(), m, why))
                out.push_back(m);
        }
        return out;
    }

    std::vector<std::vector<uint8_t>> frames;
    std::vector<bool> reliables;
    size_t read = 0;
    size_t bytesSent = 0;
    bool closed = false;
};

struct MatchServerRules : ::testing::Test {
    ServerLimits limits;
    Metrics metrics;
    SecureRandom random;
    std::ostringstream log;
    std::unique_ptr<MatchServer> server;
    std::vector<std::unique_ptr<FakeConnection>> connections;
    uint64_t now = 1000;

    void SetUp() override { server = std::make_unique<MatchServer>(limits, metrics, random, log); }

    FakeConnection& Open(const std::string& address = "10.0.0.1") {
        connections.push_back(std::make_unique<FakeConnection>(address));
        server->OnOpen(*connections.back(), now);
        return *connections.back();
    }
    void Frame(FakeConnection& c, const std::vector<uint8_t>& bytes) {
        server->OnFrame(c, bytes.data(), bytes.size(), now);
    }
    void Ask(FakeConnection& c, MatchType type, const std::string& code = "") {
        MatchMessage m;
        m.type = type;
        m.code = code;
        Frame(c, net::EncodeMatch(m));
    }
    MatchMessage Only(FakeConnection& c) {
        std::vector<MatchMessage> got = c.Messages();
        EXPECT_EQ(got.size(), 1u);
        return got.empty() ? MatchMessage{} : got.back();
    }
    // A room with both players, handshake done; returns its code.
    std::string Pair(FakeConnection*& host, FakeConnection*& guest) {
        host = &Open();
        Ask(*host, MatchType::Create);
        const MatchMessage created = Only(*host);
        guest = &Open("10.0.0.2");
        Ask(*guest, MatchType::Join, created.code);
        EXPECT_EQ(Only(*guest).type, MatchType::Joined);
        EXPECT_EQ(Only(*host).type, MatchType::PeerJoined);
        Frame(*guest, net::EncodePacket(net::HelloPacket{0}));
        Frame(*host, net::EncodePacket(net::StartPacket{created.seed, NetSide::Emperor, 0}));
        return created.code;
    }
    static net::InputPacket Inputs(uint32_t first, std::vector<net::InputList> lists) {
        net::InputPacket p;
        p.firstTick = first;
        p.currentTick = first + static_cast<uint32_t>(lists.size()) - 1;
        p.inputs = std::move(lists);
        return p;
    }
};

net::InputList Steer(int x) {
    net::InputList list;
    list.Add(GameInput::Target(x, 100));
    return list;
}

net::InputList Press(GameKey key) {
    net::InputList list;
    list.Add(GameInput::Key(key));
    return list;
}

TEST_F(MatchServerRules, CreateJoinAndTheRoomsErrors) {
    FakeConnection& host = Open();
    MatchMessage create;
    create.type = MatchType::Create;
    create.side = NetSide::Rebel;
    create.hasSeed = true;
    create.seed = 4242;
    create.ticks = 900;
    Frame(host, net::EncodeMatch(create));
    const MatchMessage created = Only(host);
    ASSERT_EQ(created.type, MatchType::Created);
    EXPECT_EQ(created.code.size(), 8u);
    EXPECT_EQ(created.side, NetSide::Rebel);
    EXPECT_EQ(created.seed, 4242u);

    FakeConnection& guest = Open("10.0.0.2");
    Ask(guest, MatchType::Join, created.code);
    const MatchMessage joined = Only(guest);
    EXPECT_EQ(joined.type, MatchType::Joined);
    EXPECT_EQ(joined.side, NetSide::Emperor);  // the free side
    EXPECT_EQ(joined.seed, 4242u);
    EXPECT_EQ(joined.ticks, 900u);
    EXPECT_EQ(Only(host).type, MatchType::PeerJoined);

    FakeConnection& third = Open("10.0.0.3");
    Ask(third, MatchType::Join, created.code);
    EXPECT_EQ(Only(third).error, MatchError::RoomFull);
    Ask(third, MatchType::Join, "22222222");
    EXPECT_EQ(Only(third).error, MatchError::UnknownRoom);
    EXPECT_EQ(metrics.rooms, 1);
    EXPECT_EQ(metrics.players[0], 2);
    EXPECT_NE(log.str().find("room " + created.code + " created"), std::string::npos);

    // The guest leaves: the host hears it; then the host leaves and the
    // room ends.
    server->OnClosed(guest, now);
    const MatchMessage left = Only(host);
    EXPECT_EQ(left.type, MatchType::PeerLeft);
    EXPECT_EQ(left.side, NetSide::Emperor);
    server->OnClosed(host, now);
    EXPECT_EQ(server->RoomCount(), 0u);
    EXPECT_EQ(metrics.rooms, 0);
    EXPECT_EQ(metrics.players[0], 0);
}

TEST_F(MatchServerRules, QuickMatchPairsTheNextTwo) {
    FakeConnection& a = Open();
    Ask(a, MatchType::Quick);
    const MatchMessage first = Only(a);
    EXPECT_EQ(first.type, MatchType::Created);
    EXPECT_EQ(first.side, NetSide::Emperor);
    FakeConnection& b = Open("10.0.0.2");
    Ask(b, MatchType::Quick);
    const MatchMessage second = Only(b);
    EXPECT_EQ(second.type, MatchType::Joined);
    EXPECT_EQ(second.code, first.code);
    EXPECT_EQ(second.side, NetSide::Rebel);
    FakeConnection& c = Open("10.0.0.3");
    Ask(c, MatchType::Quick);
    EXPECT_EQ(Only(c).type, MatchType::Created);  // a new room
    EXPECT_EQ(server->RoomCount(), 2u);
}

TEST_F(MatchServerRules, GuessingCodesIsThrottled) {
    FakeConnection& host = Open();
    Ask(host, MatchType::Create);
    const std::string code = Only(host).code;
    FakeConnection& guesser = Open("10.9.9.9");
    int unknown = 0;
    for (int i = 0; i < 40; ++i) {
        Ask(guesser, MatchType::Join, net::CodeFromBits(static_cast<uint64_t>(i) * 7919));
        if (Only(guesser).error == MatchError::UnknownRoom) ++unknown;
    }
    EXPECT_LE(unknown, static_cast<int>(limits.guessBurst));
    // Even the right code is refused while throttled, from that address only.
    Ask(guesser, MatchType::Join, code);
    EXPECT_EQ(Only(guesser).error, MatchError::Throttled);
    FakeConnection& honest = Open("10.0.0.2");
    Ask(honest, MatchType::Join, code);
    EXPECT_EQ(Only(honest).type, MatchType::Joined);
    // Time gives guesses back.
    now += 60'000;
    FakeConnection& later = Open("10.9.9.9");
    Ask(later, MatchType::Watch, code);
    EXPECT_EQ(Only(later).type, MatchType::Watching);
}

TEST_F(MatchServerRules, NoAnswerBeforeARoomIsLongerThanTheFrameThatCausedIt) {
    FakeConnection& c = Open();
    const std::vector<std::vector<uint8_t>> junk = {{},
                                                    {'Q'},
                                                    {'Q', 'M', 1, 2},
                                                    {'Q', 'M', 1, 2, 0},
                                                    {'G', 'E', 'T', ' ', '/'},
                                                    std::vector<uint8_t>(5000, 0xFF),
                                                    net::EncodePacket(net::HelloPacket{3})};
    for (const auto& bytes : junk) {
        const size_t before = c.bytesSent;
        Frame(c, bytes);
        EXPECT_LE(c.bytesSent - before, bytes.size());
    }
    EXPECT_GT(metrics.badPackets[0], 0u);
    // Enough bad frames close the connection.
    for (int i = 0; i < 20; ++i) Frame(c, {1, 2, 3});
    EXPECT_TRUE(c.closed);
}

TEST_F(MatchServerRules, PlayersSpeakOnlyForTheirSideAndSpectatorsNotAtAll) {
    FakeConnection* host;
    FakeConnection* guest;
    const std::string code = Pair(host, guest);
    ASSERT_EQ(host->frames.size(), 3u);   // created, peer joined, the hello
    ASSERT_EQ(guest->frames.size(), 2u);  // joined, the start

    // The Emperor (host) steers; a Rebel's key from the host is refused.
    Frame(*host, net::EncodePacket(Inputs(1, {Steer(10)})));
    EXPECT_EQ(guest->frames.size(), 3u);
    EXPECT_FALSE(guest->reliables.back());
    Frame(*host, net::EncodePacket(Inputs(2, {Press(GameKey::Up)})));
    Frame(*guest, net::EncodePacket(Inputs(1, {Steer(20)})));
    EXPECT_EQ(guest->frames.size(), 3u);
    EXPECT_EQ(host->frames.size(), 3u);
    // A second hello or start, a start with another seed: refused.
    Frame(*guest, net::EncodePacket(net::HelloPacket{0}));
    Frame(*host, net::EncodePacket(net::StartPacket{1, NetSide::Emperor, 0}));
    EXPECT_EQ(host->frames.size(), 3u);
    EXPECT_EQ(guest->frames.size(), 3u);
    // Control messages are no game packets.
    Ask(*guest, MatchType::Quick);
    EXPECT_EQ(host->frames.size(), 3u);
    EXPECT_EQ(server->FindRoom(code)->history.Known(NetSide::Emperor), 1u);
    EXPECT_EQ(server->FindRoom(code)->history.Known(NetSide::Rebel), 0u);

    FakeConnection& spectator = Open("10.0.0.3");
    Ask(spectator, MatchType::Watch, code);
    EXPECT_EQ(Only(spectator).type, MatchType::Watching);
    Frame(spectator, net::EncodePacket(Inputs(2, {Steer(30)})));
    Frame(spectator, net::EncodePacket(net::ByePacket{net::ByeReason::Quit, 0}));
    EXPECT_EQ(guest->frames.size(), 3u);
    EXPECT_EQ(host->frames.size(), 3u);
    EXPECT_GE(metrics.badPackets[0], 6u);
    EXPECT_EQ(metrics.packetsRelayed[0], 3u);  // hello, start, one inputs
}

TEST_F(MatchServerRules, FloodsAreCutToTheRate) {
    FakeConnection* host;
    FakeConnection* guest;
    Pair(host, guest);
    const size_t before = guest->frames.size();
    for (uint32_t i = 1; i <= 2000; ++i) Frame(*host, net::EncodePacket(Inputs(1, {Steer(5)})));
    const size_t relayed = guest->frames.size() - before;
    EXPECT_LE(relayed, static_cast<size_t>(2 * Connection::kFramesPerSecond));
    EXPECT_GT(metrics.rateLimited[0], 0u);
    now += 1000;
    Frame(*host, net::EncodePacket(Inputs(2, {Steer(5)})));
    EXPECT_EQ(guest->frames.size() - before, relayed + 1);
}

TEST_F(MatchServerRules, ARoomRecordsOnlyAStartedGameOfTwoAndNoTickAheadOfItsClock) {
    // Alone in its room, a host's start is refused and its inputs are kept
    // nowhere.
    FakeConnection& alone = Open();
    Ask(alone, MatchType::Create);
    const MatchMessage created = Only(alone);
    Frame(alone, net::EncodePacket(net::StartPacket{created.seed, NetSide::Emperor, 0}));
    Frame(alone, net::EncodePacket(Inputs(1, {Steer(1), Steer(2)})));
    const Room& waiting = *server->FindRoom(created.code);
    EXPECT_TRUE(waiting.startPacket.empty());
    EXPECT_EQ(waiting.history.Bytes(), 0u);
    EXPECT_EQ(metrics.badPackets[0], 1u);

    // In a game, ticks up to the wall clock's allowance are recorded; a game
    // running ahead of it is still relayed, but the room stops recording.
    FakeConnection* host;
    FakeConnection* guest;
    const std::string code = Pair(host, guest);
    const Room& room = *server->FindRoom(code);
    std::vector<net::InputList> lists(net::InputPacket::kMaxTicks, Steer(3));
    uint32_t next = 1;
    for (; next + lists.size() - 1 <= limits.tickSlack; next += lists.size()) {
        Frame(*host, net::EncodePacket(Inputs(next, lists)));
    }
    EXPECT_EQ(room.history.Known(NetSide::Emperor), next - 1);
    now += 10'000;  // 340 ticks more are due
    Frame(*host, net::EncodePacket(Inputs(next, lists)));
    EXPECT_EQ(room.history.Known(NetSide::Emperor), next + lists.size() - 1);
    const size_t relayed = guest->frames.size();
    Frame(*host, net::EncodePacket(Inputs(500, lists)));
    EXPECT_EQ(guest->frames.size(), relayed + 1);
    EXPECT_TRUE(room.history.Full());
    EXPECT_EQ(room.history.Known(NetSide::Emperor), next + lists.size() - 1);
}

TEST_F(MatchServerRules, LateSpectatorCatchesUpFromTickOneAndFollowsBehind) {
    FakeConnection* host;
    FakeConnection* guest;
    const std::string code = Pair(host, guest);
    for (uint32_t t = 1; t <= 100; ++t) {
        Frame(*host, net::EncodePacket(Inputs(t, {Steer(static_cast<int>(t))})));
        Frame(*guest,
              net::EncodePacket(Inputs(t, {t % 7 == 0 ? Press(GameKey::Left) : net::InputList{}})));
        now += 30;
    }
    FakeConnection& spectator = Open("10.0.0.3");
    Ask(spectator, MatchType::Watch, code);
    spectator.Messages();
    for (int i = 0; i < 10; ++i) server->Tick(now += 10);

    std::array<std::vector<net::InputList>, 2> seen;
    bool startSeen = false;
    auto collect = [&](size_t from) {
        for (size_t i = from; i < spectator.frames.size(); ++i) {
            const auto& f = spectator.frames[i];
            net::FeedFrame feed;
            const char* why = nullptr;
            if (net::IsGameFrame(f.data(), f.size())) {
                startSeen = true;
            } else if (net::DecodeFeed(f.data(), f.size(), feed, why)) {
                auto& side = seen[feed.side == NetSide::Emperor ? 0 : 1];
                EXPECT_EQ(feed.firstTick, side.size() + 1);
                side.insert(side.end(), feed.inputs.begin(), feed.inputs.end());
            }
        }
        return spectator.frames.size();
    };
    size_t read = collect(1);
    EXPECT_TRUE(startSeen);
    EXPECT_EQ(seen[0].size(), 100u - limits.spectatorLagTicks);
    EXPECT_EQ(seen[1].size(), 100u - limits.spectatorLagTicks);
    EXPECT_EQ(seen[0][9], Steer(10));
    EXPECT_EQ(seen[1][6], Press(GameKey::Left));

    // The players leave: the rest of the game, then the end.
    server->OnClosed(*host, now);
    server->OnClosed(*guest, now);
    for (int i = 0; i < 10; ++i) server->Tick(now += 10);
    read = collect(read);
    EXPECT_EQ(seen[0].size(), 100u);
    EXPECT_EQ(seen[1].size(), 100u);
    EXPECT_EQ(Only(spectator).type, MatchType::Ended);
    EXPECT_TRUE(spectator.closed);
    server->OnClosed(spectator, now);
    EXPECT_EQ(server->RoomCount(), 0u);
}

TEST_F(MatchServerRules, TheLastSpectatorLeavingAnAbandonedGameEndsIt) {
    FakeConnection* host;
    FakeConnection* guest;
    const std::string code = Pair(host, guest);
    FakeConnection& spectator = Open("10.0.0.3");
    Ask(spectator, MatchType::Watch, code);
    server->OnClosed(*host, now);
    server->OnClosed(*guest, now);
    EXPECT_EQ(server->RoomCount(), 1u);  // the spectator still has the rest to get
    server->OnClosed(spectator, now);
    EXPECT_EQ(server->RoomCount(), 0u);
    EXPECT_EQ(metrics.rooms, 0);
}

TEST_F(MatchServerRules, LimitsAndTimeouts) {
    limits.maxRooms = 1;
    limits.maxConnectionsPerAddress = 2;
    FakeConnection& a = Open();
    Ask(a, MatchType::Create);
    FakeConnection& b = Open();
    Ask(b, MatchType::Create);
    EXPECT_EQ(Only(b).error, MatchError::ServerFull);
    EXPECT_TRUE(server->AdmitAddress("1.2.3.4"));
    EXPECT_TRUE(server->AdmitAddress("1.2.3.4"));
    EXPECT_FALSE(server->AdmitAddress("1.2.3.4"));
    server->ReleaseAddress("1.2.3.4");
    EXPECT_TRUE(server->AdmitAddress("1.2.3.4"));
    // Connections still in their handshake count as well.
    server->CountPending([](const std::string& address) { return address == "5.6.7.8" ? 2 : 0; });
    EXPECT_FALSE(server->AdmitAddress("5.6.7.8"));
    EXPECT_TRUE(server->AdmitAddress("5.6.7.9"));

    // A connection that never asks is let go; so is a room nobody joins.
    server->Tick(now += limits.lobbyTimeoutMs + 1000);
    EXPECT_TRUE(b.closed);
    EXPECT_FALSE(a.closed);
    server->Tick(now += limits.waitingRoomMs);
    EXPECT_TRUE(a.closed);
    EXPECT_EQ(server->RoomCount(), 0u);
}

}  // namespace
}  // namespace qx::server
