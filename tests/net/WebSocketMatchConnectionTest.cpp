#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "net/MatchProtocol.h"
#include "net/PacketCodec.h"
#include "net/WebSocketMatchConnection.h"

using qx::net::LinkClose;
using qx::net::LinkEvent;
using qx::net::MatchMessage;
using qx::net::MatchRequest;
using qx::net::MatchType;
using qx::net::WebSocketMatchConnection;
using State = WebSocketMatchConnection::State;

namespace {

// What the script side of the socket was asked to do.
struct SocketLog {
    std::vector<std::vector<uint8_t>> sent;
    bool closed = false;
};

class LoggedSocket : public qx::net::SocketPort {
  public:
    explicit LoggedSocket(SocketLog& log) : log(log) {}
    void Send(const std::vector<uint8_t>& frame) override { log.sent.push_back(frame); }
    void Close() override { log.closed = true; }

  private:
    SocketLog& log;
};

struct Connection : ::testing::Test {
    SocketLog log;
    uint64_t now = 1000;
    std::unique_ptr<WebSocketMatchConnection> connection;

    void Connect(const MatchRequest& request) {
        connection = std::make_unique<WebSocketMatchConnection>(std::make_unique<LoggedSocket>(log),
                                                                request, [this] { return now; });
    }
    void Deliver(const std::vector<uint8_t>& frame) {
        connection->Frame(frame.data(), frame.size());
    }
    void Answer(MatchType type, const char* code = "7K2M9QXZ") {
        MatchMessage m;
        m.type = type;
        m.code = code;
        m.seed = 99;
        m.side = qx::net::NetSide::Rebel;
        Deliver(qx::net::EncodeMatch(m));
    }
    LinkEvent Next(std::vector<uint8_t>& data) { return connection->Poll(data); }
};

MatchRequest Join(const std::string& code) {
    MatchRequest request;
    request.kind = MatchRequest::Kind::Join;
    request.code = code;
    return request;
}

}  // namespace

TEST_F(Connection, AsksForTheRoomOnceOpenAndCarriesTheGameAfterTheAnswer) {
    Connect(Join("7k2m-9qxz"));
    EXPECT_EQ(connection->Update(0), State::Connecting);
    connection->Send({1, 2, 3}, true);  // nothing goes out before the socket is open
    EXPECT_TRUE(log.sent.empty());

    connection->Opened();
    ASSERT_EQ(log.sent.size(), 1u);
    EXPECT_EQ(log.sent[0], Join("7K2M9QXZ").Encode());
    EXPECT_EQ(connection->Update(0), State::Asking);

    // A game packet before the room's answer is no one's: dropped.
    const std::vector<uint8_t> hello = qx::net::EncodePacket(qx::net::HelloPacket{0});
    Deliver(hello);
    Answer(MatchType::Joined);
    EXPECT_EQ(connection->Update(0), State::InRoom);
    EXPECT_FALSE(connection->Client().Hosting());
    EXPECT_EQ(connection->Client().Answer().seed, 99u);

    std::vector<uint8_t> data;
    EXPECT_EQ(Next(data), LinkEvent::Connected);
    EXPECT_EQ(Next(data), LinkEvent::None);
    Deliver(hello);
    EXPECT_EQ(Next(data), LinkEvent::Received);
    EXPECT_EQ(data, hello);
    connection->Send({9}, false);
    EXPECT_EQ(log.sent.back(), std::vector<uint8_t>{9});
    EXPECT_EQ(connection->BytesSent(), log.sent[0].size() + 1);
}

TEST_F(Connection, TheHostHearsOfTheOtherPlayerAndOfItsLeaving) {
    MatchRequest create;
    create.kind = MatchRequest::Kind::Create;
    Connect(create);
    connection->Opened();
    Answer(MatchType::Created);
    EXPECT_TRUE(connection->Client().Hosting());
    std::vector<uint8_t> data;
    EXPECT_EQ(Next(data), LinkEvent::None);  // nobody to play with yet
    Answer(MatchType::PeerJoined);
    EXPECT_EQ(Next(data), LinkEvent::Connected);
    Answer(MatchType::PeerLeft);
    EXPECT_EQ(Next(data), LinkEvent::Disconnected);
    EXPECT_EQ(qx::net::CloseReasonOf(data), LinkClose::Left);
}

// The server going away mid-game is a lost link, reported at once; later
// socket events of the closed socket change nothing.
TEST_F(Connection, TheServerGoingAwayEndsTheLinkOnce) {
    Connect(Join("7K2M9QXZ"));
    connection->Opened();
    Answer(MatchType::Joined);
    std::vector<uint8_t> data;
    Next(data);
    connection->Closed("gone");
    EXPECT_EQ(Next(data), LinkEvent::Disconnected);
    EXPECT_EQ(qx::net::CloseReasonOf(data), LinkClose::Lost);
    connection->Closed("gone again");
    connection->Opened();
    EXPECT_EQ(Next(data), LinkEvent::None);
    const size_t sent = log.sent.size();
    connection->Send({1}, true);
    EXPECT_EQ(log.sent.size(), sent);
}

TEST_F(Connection, FailuresBeforeTheRoomSayWhatWentWrongAndCloseTheSocket) {
    // Nothing listens: the socket closes without opening.
    Connect(Join("7K2M9QXZ"));
    connection->Closed("refused");
    EXPECT_EQ(connection->Update(0), State::Failed);
    EXPECT_EQ(connection->Client().Failure(), "the server cannot be reached");

    // Nobody answers in time (the socket never opens).
    log = {};
    Connect(Join("7K2M9QXZ"));
    now += WebSocketMatchConnection::kConnectMs + 1;
    EXPECT_EQ(connection->Update(0), State::Failed);
    EXPECT_EQ(connection->Client().Failure(), "the server cannot be reached");
    EXPECT_TRUE(log.closed);

    // Open, but no answer to the request.
    log = {};
    Connect(Join("7K2M9QXZ"));
    connection->Opened();
    now += WebSocketMatchConnection::kConnectMs + 1;
    EXPECT_EQ(connection->Update(0), State::Failed);
    EXPECT_EQ(connection->Client().Failure(), "the server gives no room");

    // The server refuses: the refusal is kept for the player's message.
    log = {};
    Connect(Join("7K2M9QXZ"));
    connection->Opened();
    MatchMessage error;
    error.type = MatchType::Error;
    error.error = qx::net::MatchError::UnknownRoom;
    Deliver(qx::net::EncodeMatch(error));
    EXPECT_EQ(connection->Update(0), State::Failed);
    EXPECT_TRUE(connection->Client().Refused());
    EXPECT_EQ(connection->Client().Refusal(), qx::net::MatchError::UnknownRoom);
    EXPECT_TRUE(log.closed);

    // A code that is no code never reaches the server.
    log = {};
    Connect(Join("hello!"));
    EXPECT_EQ(connection->Update(0), State::Failed);
    EXPECT_TRUE(log.closed);
    connection->Opened();
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(Connection, OversizedAndStrangeFramesAreCountedNotUsed) {
    Connect(Join("7K2M9QXZ"));
    connection->Opened();
    Answer(MatchType::Joined);
    std::vector<uint8_t> data;
    Next(data);
    std::vector<uint8_t> huge(qx::net::kMaxPacketSize + 1, 'Q');
    huge[1] = 'X';
    Deliver(huge);
    Deliver({'n', 'o', 'p', 'e'});
    EXPECT_EQ(connection->Oversized(), 1u);
    EXPECT_EQ(connection->Client().Strange(), 1u);
    EXPECT_EQ(Next(data), LinkEvent::None);
    EXPECT_EQ(connection->BytesReceived(), 4 + huge.size() + 8 + 4 + 1 + 4 + 4);
}

TEST(WebSocketUrl, ServerAddressesBecomeTheWebSocketEndpoint) {
    EXPECT_EQ(WebSocketMatchConnection::UrlFor("127.0.0.1:29030"), "ws://127.0.0.1:29030/ws");
    EXPECT_EQ(WebSocketMatchConnection::UrlFor("wss://play.example/ws"), "wss://play.example/ws");
}
