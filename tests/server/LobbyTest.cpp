#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>

#include "net/MatchProtocol.h"
#include "server/LobbyPage.h"
#include "server/MatchServer.h"
#include "server/QuickMatchQueue.h"
#include "server/RatingBook.h"
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

TEST(RatingBook, LatestRatedGameOfTheKeyAndAWaitThatEnds) {
    const std::string a(64, 'a'), b(64, 'b');
    const std::string games =
        "{\"games\":[{\"id\":3,\"emperor\":{\"name\":\"A\",\"key\":\"" + a +
        "\",\"rating_before\":null,\"rating_after\":null},\"rebel\":{\"name\":\"B\",\"key\":\"" +
        b +
        "\",\"rating_before\":1500,\"rating_after\":1662.5}},{\"id\":2,\"emperor\":{"
        "\"key\":\"" +
        a + "\",\"rating_before\":1500,\"rating_after\":1337.25}}]}";
    EXPECT_EQ(RatingBook::LatestRating(games, a), 1337.25);  // its newest game was unrated
    EXPECT_EQ(RatingBook::LatestRating(games, b), 1662.5);
    EXPECT_EQ(RatingBook::LatestRating(games, std::string(64, 'c')), std::nullopt);
    EXPECT_EQ(RatingBook::LatestRating("{\"games\":[]}", a), std::nullopt);

    RatingBook book;
    std::vector<RatingBook::Reply> asked;
    book.SetAsk(
        [&](const std::string&, const RatingBook::Reply& reply) { asked.push_back(reply); });
    PlayerIdentity who;
    who.keyHash = a;
    int ran = 0;
    book.WhenKnown(who, 0, [&] { ++ran; });
    book.WhenKnown(who, 10, [&] { ++ran; });
    ASSERT_EQ(asked.size(), 1u);  // one question for both
    EXPECT_EQ(ran, 0);
    asked[0](1900.0);
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(book.Of(who), 1900);
    book.Forget(a);
    book.WhenKnown(who, 100, [&] { ++ran; });
    book.Tick(100 + RatingBook::kWaitMs - 1);
    EXPECT_EQ(ran, 2);
    book.Tick(100 + RatingBook::kWaitMs);  // no answer: it counts as unrated
    EXPECT_EQ(ran, 3);
    EXPECT_EQ(book.Of(who), RatingBook::kUnrated);
}

TEST_F(LobbyRules, QuickMatchPairsByTheHistorysRatings) {
    std::map<std::string, double> history;
    server.Ratings().SetAsk([&](const std::string& key, const RatingBook::Reply& reply) {
        reply(history.count(key) ? std::optional<double>(history[key]) : std::nullopt);
    });
    struct Player {
        double rating;  // 0: none yet
        int room;       // the room of the player it plays, or its own
        MatchType answer;
        uint8_t key;
    };
    const Player players[] = {{1200, 0, MatchType::Created, 1},
                              {1800, 1, MatchType::Created, 2},
                              {0, 2, MatchType::Created, 3},
                              {1790, 1, MatchType::Joined, 4},
                              {1450, 2, MatchType::Joined, 5}};
    std::vector<std::string> rooms;
    for (const Player& p : players) {
        MatchMessage identify;
        identify.type = MatchType::Identify;
        identify.hasIdentity = true;
        identify.name = "P" + std::to_string(p.key);
        identify.key.fill(p.key);
        if (p.rating > 0) history[HashKey(identify.key)] = p.rating;
        connections.push_back(std::make_unique<FakeConnection>());
        FakeConnection& c = *connections.back();
        server.OnOpen(c, now);
        for (MatchMessage m : {identify, MatchMessage{}}) {
            if (m.type != MatchType::Identify) m.type = MatchType::Quick;
            const std::vector<uint8_t> bytes = net::EncodeMatch(m);
            server.OnFrame(c, bytes.data(), bytes.size(), now);
        }
        const std::vector<MatchMessage> got = c.Messages();
        ASSERT_EQ(got.size(), 1u) << identify.name;
        EXPECT_EQ(got[0].type, p.answer) << identify.name;
        if (p.answer == MatchType::Created) rooms.push_back(got[0].code);
        EXPECT_EQ(got[0].code, rooms.at(static_cast<size_t>(p.room))) << identify.name;
    }
}

}  // namespace
}  // namespace qx::server
