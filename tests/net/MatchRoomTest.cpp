#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "net/MatchRoom.h"
#include "net/NetEndTexts.h"
#include "net/WebSocketMatchConnection.h"

using qx::net::MatchError;
using qx::net::MatchMessage;
using qx::net::MatchRequest;
using qx::net::MatchRoom;
using qx::net::MatchType;
using qx::net::RoomEnd;
using qx::net::RoomRequest;
using qx::net::WebSocketMatchConnection;
using Cause = RoomEnd::Cause;

namespace {

class QuietSocket : public qx::net::SocketPort {
  public:
    void Send(const std::vector<uint8_t>&) override {}
    void Close() override {}
};

// A room over a WebSocket connection whose socket the test plays.
struct Room {
    uint64_t now = 0;
    WebSocketMatchConnection* socket = nullptr;
    std::unique_ptr<MatchRoom> room;

    explicit Room(const MatchRequest& request, qx::net::MatchRoomOptions options = {}) {
        auto link = std::make_unique<WebSocketMatchConnection>(std::make_unique<QuietSocket>(),
                                                               request, [this] { return now; });
        socket = link.get();
        options.server = "play.example:29030";
        room = std::make_unique<MatchRoom>(std::move(link), options);
    }
    void Answer(const MatchMessage& m) {
        const std::vector<uint8_t> frame = qx::net::EncodeMatch(m);
        socket->Frame(frame.data(), frame.size());
    }
    std::vector<RoomRequest::Kind> Update() {
        std::vector<RoomRequest::Kind> kinds;
        for (const RoomRequest& r : room->Update(now)) kinds.push_back(r.kind);
        return kinds;
    }
};

MatchRequest Ask(MatchRequest::Kind kind, const std::string& code = "") {
    MatchRequest request;
    request.kind = kind;
    request.code = code;
    return request;
}

MatchMessage Refusal(MatchError error) {
    MatchMessage m;
    m.type = MatchType::Error;
    m.error = error;
    return m;
}

}  // namespace

// Every way a room is not had ends as one value with its cause, the figure
// its words name, and words of its own from the one table.
TEST(MatchRoom, EveryWayARoomIsNotHadEndsWithItsCauseFigureAndWords) {
    using Kind = MatchRequest::Kind;
    struct Case {
        const char* what;
        MatchRequest request;
        std::function<void(Room&)> happen;
        Cause cause;
        std::string figure;
    };
    const auto refused = [](MatchError error) {
        return [error](Room& r) {
            r.socket->Opened();
            r.Answer(Refusal(error));
        };
    };
    const Case cases[] = {
        {"unknown code", Ask(Kind::Join, "7k2m-9qxz"), refused(MatchError::UnknownRoom),
         Cause::Refused, "7K2M9QXZ"},
        {"full room", Ask(Kind::Join, "7K2M9QXZ"), refused(MatchError::RoomFull), Cause::Refused,
         "7K2M9QXZ"},
        {"too long to watch", Ask(Kind::Watch, "7K2M9QXZ"), refused(MatchError::NotWatchable),
         Cause::Refused, "7K2M9QXZ"},
        {"throttled", Ask(Kind::Quick), refused(MatchError::Throttled), Cause::Refused, ""},
        {"server full", Ask(Kind::Create), refused(MatchError::ServerFull), Cause::Refused, ""},
        {"bad name", Ask(Kind::Quick), refused(MatchError::BadName), Cause::Refused, ""},
        {"bad request", Ask(Kind::Quick), refused(MatchError::BadRequest), Cause::Refused, ""},
        {"no code", Ask(Kind::Join, "abc"), [](Room&) {}, Cause::BadCode, "abc"},
        {"nothing listens", Ask(Kind::Quick), [](Room& r) { r.socket->Closed("refused"); },
         Cause::Unreachable, "play.example:29030"},
        {"no answer", Ask(Kind::Quick),
         [](Room& r) {
             r.socket->Opened();
             r.now += WebSocketMatchConnection::kConnectMs + 1;
         },
         Cause::NoAnswer, "play.example:29030"},
        {"closed while asking", Ask(Kind::Quick),
         [](Room& r) {
             r.socket->Opened();
             r.socket->Closed("bye");
         },
         Cause::Closed, "play.example:29030"},
    };
    std::set<std::string> words;
    for (const Case& c : cases) {
        Room r(c.request);
        std::vector<RoomRequest::Kind> told = r.Update();
        c.happen(r);
        for (const RoomRequest::Kind kind : r.Update()) told.push_back(kind);
        EXPECT_EQ(told, std::vector{RoomRequest::Kind::Ended}) << c.what;
        EXPECT_EQ(r.room->GetPhase(), MatchRoom::Phase::Ended) << c.what;
        EXPECT_TRUE(r.Update().empty()) << c.what << ": an end is told once";
        const RoomEnd& end = r.room->End();
        EXPECT_EQ(end.cause, c.cause) << c.what;
        EXPECT_EQ(end.figure, c.figure) << c.what;
        const char* text = qx::net::RoomEndText(end);
        ASSERT_NE(text, nullptr) << c.what;
        words.insert(text);
    }
    EXPECT_EQ(words.size(), std::size(cases)) << "each end has words of its own";
}

// The room's own answer-time limit holds even when the connection would
// wait longer, and a player who leaves before the room has nothing said.
TEST(MatchRoom, TheAnswerTimeLimitAndLeavingBeforeTheRoom) {
    qx::net::MatchRoomOptions options;
    options.answerMs = 1000;
    Room late(Ask(MatchRequest::Kind::Quick), options);
    late.Update();
    late.now += 1001;
    EXPECT_EQ(late.Update(), std::vector{RoomRequest::Kind::Ended});
    EXPECT_EQ(late.room->End().cause, Cause::Unreachable);

    Room left(Ask(MatchRequest::Kind::Quick));
    left.Update();
    left.room->Leave();
    EXPECT_EQ(left.room->GetPhase(), MatchRoom::Phase::Ended);
    EXPECT_EQ(qx::net::RoomEndText(left.room->End()), nullptr);
}

// The room's answer decides the game: side, seed and length, with a
// joiner's own shorter length played instead; a host that runs the game
// itself takes the connection.
TEST(MatchRoom, TheAnswerDecidesTheGameAndAJoinersShorterLengthWins) {
    for (const uint32_t own : {0u, 500u, 5000u}) {
        qx::net::MatchRoomOptions options;
        options.ownTicks = own;
        options.handOver = true;
        Room r(Ask(MatchRequest::Kind::Join, "7K2M9QXZ"), options);
        r.socket->Opened();
        MatchMessage joined;
        joined.type = MatchType::Joined;
        joined.code = "7K2M9QXZ";
        joined.side = qx::net::NetSide::Rebel;
        joined.seed = 99;
        joined.ticks = 1000;
        r.Answer(joined);
        EXPECT_EQ(r.Update(), std::vector{RoomRequest::Kind::InRoom});
        EXPECT_EQ(r.room->Code(), "7K2M9QXZ");
        const qx::net::PeerOptions peer = r.room->GameOptions().peer;
        EXPECT_FALSE(peer.hosting);
        EXPECT_EQ(peer.side, qx::net::NetSide::Rebel);
        EXPECT_EQ(peer.seed, 99u);
        EXPECT_EQ(peer.ticks, own == 500 ? 500u : 1000u) << own;
        EXPECT_NE(r.room->TakeConnection(), nullptr);
        EXPECT_EQ(r.room->TakeConnection(), nullptr);
    }
}
