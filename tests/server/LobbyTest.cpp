#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "net/MatchProtocol.h"
#include "server/LobbyPage.h"
#include "server/MatchServer.h"
#include "server/QuickMatchQueue.h"
#include "tests/support/FakeConnection.h"

namespace qx::server {
namespace {

using net::LobbyGame;
using net::LobbyList;
using net::MatchMessage;
using net::MatchType;
using net::NetSide;
using test::FakeConnection;

TEST(QuickMatchQueue, PairsTheClosestWithinAWindowThatWidensWithWaiting) {
    struct Waiting {
        const char* code;
        double rating;
        uint64_t waitedMs;
    };
    struct Case {
        std::vector<Waiting> waiting;  // in the order they came
        double rating;
        const char* expected;  // "": none fits
    };
    const Case cases[] = {
        {{{"A", 1500, 0}}, 1500, "A"},
        {{{"A", 1500, 0}}, 1600, "A"},
        {{{"A", 1500, 0}}, 1601, ""},
        {{{"A", 1500, 4999}}, 1650, ""},
        {{{"A", 1500, 5000}}, 1650, "A"},
        {{{"A", 1500, 29'999}}, 1850, "A"},
        {{{"A", 1500, 29'999}}, 1851, ""},
        {{{"A", 1500, 30'000}}, 3000, "A"},
        {{{"A", 1400, 0}, {"B", 1550, 0}}, 1530, "B"},
        {{{"A", 1000, 60'000}, {"B", 1450, 0}}, 1500, "B"},
        {{{"A", 1500, 0}, {"B", 1500, 9000}}, 1500, "A"},
        {{{"A", 1650, 0}, {"B", 1350, 20'000}}, 1500, "B"},
        {{}, 1500, ""},
    };
    const uint64_t now = 100'000;
    for (const Case& c : cases) {
        QuickMatchQueue queue;
        for (const Waiting& w : c.waiting) queue.Add(w.code, w.rating, now - w.waitedMs);
        EXPECT_EQ(queue.Pick(c.rating, now), c.expected) << "rating " << c.rating;
    }
    QuickMatchQueue queue;
    queue.Add("A", 1500, now);
    queue.Add("B", 1500, now);
    queue.Remove("A");
    EXPECT_EQ(queue.Pick(1500, now), "B");
}

LobbyGame Open(const std::string& code, const std::string& name) {
    LobbyGame g;
    g.code = code;
    g.freeSide = NetSide::Emperor;
    g.seconds = 12;
    g.rating = 1712;
    g.names[1] = name;
    return g;
}

TEST(LobbyProtocol, CopiesRoundTripAndAreBoundedAndCheckedWhole) {
    MatchMessage lobby;
    lobby.type = MatchType::Lobby;
    lobby.lobby = {1, 1, {Open("7K2M9QXZ", "Þórunn 李"), {}}};
    LobbyGame& live = lobby.lobby.games[1];
    live = {true, "ABCDEFGH", NetSide::Rebel, 70'000, 2'300'000, 65535, 0, {"Ана", ""}};
    std::vector<uint8_t> bytes = net::EncodeMatch(lobby);
    MatchMessage back;
    const char* error = nullptr;
    ASSERT_TRUE(net::DecodeMatch(bytes.data(), bytes.size(), back, error)) << error;
    EXPECT_EQ(back, lobby);
    // Damaged copies are refused whole: one byte short, one too many, unknown flags.
    for (const size_t cut : {bytes.size() - 1, size_t{9}}) {
        EXPECT_FALSE(net::DecodeMatch(bytes.data(), cut, back, error)) << cut;
    }
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(net::DecodeMatch(longer.data(), longer.size(), back, error));
    bytes[9] = 4;
    EXPECT_FALSE(net::DecodeMatch(bytes.data(), bytes.size(), back, error));

    // A lobby too big for a frame keeps its totals and lists what fits.
    MatchMessage big;
    big.type = MatchType::Lobby;
    big.lobby.openGames = 300;
    for (int i = 0; i < 300; ++i) {
        big.lobby.games.push_back(
            Open(net::CodeFromBits(static_cast<uint64_t>(i)), std::string(80, 'x')));
    }
    bytes = net::EncodeMatch(big);
    EXPECT_LE(bytes.size(), net::kMatchHeaderSize + 5 + net::kMaxLobbyBytes);
    ASSERT_TRUE(net::DecodeMatch(bytes.data(), bytes.size(), back, error)) << error;
    EXPECT_EQ(back.lobby.openGames, 300);
    ASSERT_GT(back.lobby.games.size(), 10u);
    EXPECT_TRUE(
        std::equal(back.lobby.games.begin(), back.lobby.games.end(), big.lobby.games.begin()));

    // Create's public flag; a flag other than 0 and 1 is refused.
    MatchMessage create;
    create.type = MatchType::Create;
    create.listed = true;
    bytes = net::EncodeMatch(create);
    ASSERT_TRUE(net::DecodeMatch(bytes.data(), bytes.size(), back, error));
    EXPECT_TRUE(back.listed);
    bytes[14] = 2;
    EXPECT_FALSE(net::DecodeMatch(bytes.data(), bytes.size(), back, error));
}

TEST(LobbyPage, NamesAreEscapedAsJsonStrings) {
    const std::pair<std::string, std::string> cases[] = {
        {"Anna", "\"Anna\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {std::string("x\0y\n\x1f\x7f", 6), "\"x\\u0000y\\u000a\\u001f\\u007f\""},
        {"\xE2\x80\xA8|\xE2\x80\xA9", "\"\\u2028|\\u2029\""},
        {"李 Þór </script>", "\"李 Þór </script>\""},
    };
    for (const auto& [text, json] : cases) EXPECT_EQ(LobbyPage::JsonString(text), json);
}

struct LobbyRules : ::testing::Test {
    ServerLimits limits;
    Metrics metrics;
    SecureRandom random;
    std::ostringstream log;
    MatchServer server{limits, metrics, random, log};
    std::vector<std::unique_ptr<FakeConnection>> connections;
    uint64_t now = 1000;

    FakeConnection& Ask(MatchType type, bool listed = false, const std::string& code = "") {
        connections.push_back(std::make_unique<FakeConnection>());
        FakeConnection& c = *connections.back();
        server.OnOpen(c, now);
        MatchMessage m;
        m.type = type;
        m.listed = listed;
        m.code = code;
        const std::vector<uint8_t> bytes = net::EncodeMatch(m);
        server.OnFrame(c, bytes.data(), bytes.size(), now);
        return c;
    }
    // The lobby copies a watcher got since the last look.
    static std::vector<LobbyList> Copies(FakeConnection& c) {
        std::vector<LobbyList> out;
        for (const MatchMessage& m : c.Messages()) {
            if (m.type == MatchType::Lobby) out.push_back(m.lobby);
        }
        return out;
    }
};

TEST_F(LobbyRules, WatchersGetPublicRoomsInCoalescedCopiesAndAreNotTimedOut) {
    FakeConnection& watcher = Ask(MatchType::WatchLobby);
    ASSERT_EQ(Copies(watcher).size(), 1u);
    Ask(MatchType::Create);  // private: never listed, no copy
    server.Tick(now += 300);
    EXPECT_TRUE(Copies(watcher).empty());
    FakeConnection& host = Ask(MatchType::Create, true);
    const std::string code = host.Messages().at(0).code;
    server.Tick(now += 1);
    std::vector<LobbyList> copies = Copies(watcher);
    ASSERT_EQ(copies.size(), 1u);
    ASSERT_EQ(copies[0].games.size(), 1u);
    EXPECT_FALSE(copies[0].games[0].live);
    EXPECT_EQ(copies[0].games[0].code, code);
    // A join right after is held back until the coalescing time has passed.
    Ask(MatchType::Join, false, code);
    server.Tick(now += 100);
    EXPECT_TRUE(Copies(watcher).empty());
    server.Tick(now += Lobby::kCoalesceMs);
    copies = Copies(watcher);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].liveGames, 1);
    EXPECT_TRUE(copies[0].games.at(0).live);
    // Watching is not waiting to ask: the lobby timeout spares it, and the
    // live game's copy is refreshed.
    server.Tick(now += limits.lobbyTimeoutMs + 1000);
    EXPECT_FALSE(watcher.closed);
    EXPECT_EQ(Copies(watcher).size(), 1u);
    // The room's end is a change; then nothing is listed.
    host.closed = true;
    server.OnClosed(host, now);
    server.Tick(now += Lobby::kCoalesceMs);
    copies = Copies(watcher);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_TRUE(copies[0].games.empty());
}

TEST_F(LobbyRules, WatchersAreBounded) {
    for (size_t i = 0; i < Lobby::kMaxWatchers; ++i) Ask(MatchType::WatchLobby);
    FakeConnection& late = Ask(MatchType::WatchLobby);
    const std::vector<MatchMessage> got = late.Messages();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].type, MatchType::Error);
    EXPECT_EQ(got[0].error, net::MatchError::ServerFull);
}

}  // namespace
}  // namespace qx::server
