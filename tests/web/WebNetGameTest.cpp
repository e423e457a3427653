#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "net/MatchProtocol.h"
#include "net/NetEndTexts.h"
#include "net/PacketCodec.h"
#include "net/RandomPlayer.h"
#include "net/WebSocketMatchConnection.h"
#include "web/WebNetGame.h"

using qx::GameKey;
using qx::net::MatchRequest;
using qx::net::MatchType;
using qx::net::NetSide;
using qx::net::PeerEnd;
using qx::net::WebSocketMatchConnection;
using qx::web::WebNetGame;
using Phase = WebNetGame::Phase;
using Outcome = WebNetGame::Outcome;

namespace {

constexpr const char* kCode = "7K2M9QXZ";

// A match server's room in the test, over the connections' socket ports:
// answers the requests, passes the game's packets from one player to the
// other and gives spectators the host's Start packet and both sides'
// inputs as feed frames, as the real server does.
class TestRoom {
  public:
    struct Client {
        std::vector<std::vector<uint8_t>> sent;  // frames to the server not read yet
        WebSocketMatchConnection* connection = nullptr;
        bool opened = false;
        bool closed = false;
        bool gone = false;  // the room knows the socket closed
        enum class Role { None, Host, Guest, Spectator } role = Role::None;
        NetSide side = NetSide::Emperor;
        std::map<NetSide, uint32_t> fed;  // a spectator's ticks sent, by side
    };

    std::unique_ptr<WebNetGame> Connect(MatchRequest request, uint32_t seed = 77) {
        clients.push_back(std::make_unique<Client>());
        Client& client = *clients.back();
        auto connection = std::make_unique<WebSocketMatchConnection>(
            std::make_unique<Port>(client), request, [this] { return now; });
        client.connection = connection.get();
        requests.push_back(request);
        this->seed = seed;
        return std::make_unique<WebNetGame>(std::move(connection), "test-server", 600, 400);
    }

    // Everything sent so far arrives.
    // Everything sent so far arrives (a closed socket's last frames too);
    // a player whose socket closed has left the room.
    void Deliver() {
        for (auto& client : clients) {
            if (!client->closed && !client->opened) {
                client->opened = true;
                client->connection->Opened();
            }
            auto frames = std::move(client->sent);
            client->sent.clear();
            for (const auto& frame : frames) Handle(*client, frame);
            if (client->closed && !client->gone) Leave(*client);
        }
        for (auto& client : clients) Feed(*client);
    }

    // The players have gone: spectators hear the feed is complete, then the
    // server closes their connections.
    void EndFeed() {
        for (auto& client : clients) {
            if (client->role == Client::Role::Spectator) Answer(*client, MatchType::Ended, {});
        }
        Vanish();
    }

    // The server goes away: every socket closes.
    void Vanish() {
        for (auto& client : clients) {
            if (client->closed) continue;
            client->closed = true;
            client->connection->Closed("gone");
        }
    }

    uint64_t now = 1000;
    bool refuseJoins = false;
    bool garbleChecksums = false;

  private:
    class Port : public qx::net::SocketPort {
      public:
        explicit Port(Client& client) : client(client) {}
        void Send(const std::vector<uint8_t>& frame) override { client.sent.push_back(frame); }
        // A closing socket reaches the server as the connection's end.
        void Close() override { client.closed = true; }

      private:
        Client& client;
    };

    void Leave(Client& client) {
        client.gone = true;
        if (client.role != Client::Role::Host && client.role != Client::Role::Guest) return;
        if (Client* other = Other(client)) Answer(*other, MatchType::PeerLeft, client.side);
    }

    void Send(Client& to, const std::vector<uint8_t>& frame) {
        if (!to.closed) to.connection->Frame(frame.data(), frame.size());
    }

    void Answer(Client& to, MatchType type, NetSide side) {
        qx::net::MatchMessage m;
        m.type = type;
        m.code = kCode;
        m.side = side;
        m.seed = seed;
        m.ticks = ticks;
        Send(to, qx::net::EncodeMatch(m));
    }

    Client* Other(const Client& of) {
        for (auto& c : clients) {
            if (c.get() != &of && !c->closed &&
                (c->role == Client::Role::Host || c->role == Client::Role::Guest)) {
                return c.get();
            }
        }
        return nullptr;
    }

    void Handle(Client& from, const std::vector<uint8_t>& frame) {
        qx::net::MatchMessage m;
        const char* error = nullptr;
        if (qx::net::DecodeMatch(frame.data(), frame.size(), m, error)) return OnRequest(from, m);
        if (from.role == Client::Role::Spectator) return;
        qx::net::Packet packet;
        if (!qx::net::DecodePacket(frame.data(), frame.size(), packet, error)) return;
        if (auto* inputs = std::get_if<qx::net::InputPacket>(&packet)) {
            Record(from, *inputs);
            if (garbleChecksums && inputs->confirmedTick > 50) {
                inputs->checksum ^= 1;  // a game that went apart, as the other side sees it
                if (Client* other = Other(from)) Send(*other, qx::net::EncodePacket(packet));
                return;
            }
        }
        if (std::holds_alternative<qx::net::StartPacket>(packet)) start = frame;
        if (Client* other = Other(from)) Send(*other, frame);
    }

    void OnRequest(Client& from, const qx::net::MatchMessage& m) {
        if (m.type == MatchType::Create) {
            from.role = Client::Role::Host;
            from.side = m.side;
            ticks = m.ticks;
            Answer(from, MatchType::Created, m.side);
        } else if (m.type == MatchType::Join && refuseJoins) {
            qx::net::MatchMessage refusal;
            refusal.type = MatchType::Error;
            refusal.error = qx::net::MatchError::UnknownRoom;
            Send(from, qx::net::EncodeMatch(refusal));
        } else if (m.type == MatchType::Join) {
            Client* host = Other(from);
            from.role = Client::Role::Guest;
            from.side = qx::net::OtherSide(host->side);
            Answer(from, MatchType::Joined, from.side);
            Answer(*host, MatchType::PeerJoined, host->side);
        } else if (m.type == MatchType::Watch) {
            from.role = Client::Role::Spectator;
            Answer(from, MatchType::Watching, NetSide::Emperor);
        }
    }

    // Each side's inputs in order, as the server keeps them for spectators.
    void Record(const Client& from, const qx::net::InputPacket& packet) {
        auto& list = history[from.side];
        for (size_t i = 0; i < packet.inputs.size(); ++i) {
            if (packet.firstTick + i == list.size() + 1) list.push_back(packet.inputs[i]);
        }
    }

    void Feed(Client& to) {
        if (to.role != Client::Role::Spectator || to.closed || start.empty()) return;
        if (to.fed.empty()) Send(to, start);
        for (NetSide side : {NetSide::Emperor, NetSide::Rebel}) {
            uint32_t& fed = to.fed[side];
            const auto& list = history[side];
            while (fed < list.size()) {
                const uint32_t count = std::min<uint32_t>(32, list.size() - fed);
                std::vector<uint8_t> lists;
                for (uint32_t i = 0; i < count; ++i) {
                    qx::net::AppendTickInputs(list[fed + i], lists);
                }
                Send(to, qx::net::EncodeFeed(side, fed + 1, static_cast<uint8_t>(count),
                                             lists.data(), lists.size()));
                fed += count;
            }
        }
    }

    std::vector<std::unique_ptr<Client>> clients;
    std::vector<MatchRequest> requests;
    std::map<NetSide, std::vector<qx::net::InputList>> history;
    std::vector<uint8_t> start;
    uint32_t seed = 0;
    uint32_t ticks = 0;
};

MatchRequest Create(NetSide side, uint32_t ticks) {
    MatchRequest request;
    request.kind = MatchRequest::Kind::Create;
    request.side = side;
    request.ticks = ticks;
    return request;
}

MatchRequest WithCode(MatchRequest::Kind kind) {
    MatchRequest request;
    request.kind = kind;
    request.code = kCode;
    return request;
}

uint64_t ShownSum(const WebNetGame& game) {
    return qx::Checksum(game.Shown()->State());
}

struct TwoPages : ::testing::Test {
    TestRoom room;
    std::unique_ptr<WebNetGame> host;
    std::unique_ptr<WebNetGame> guest;
    uint32_t steps = 0;

    void SetUp() override {
        host = room.Connect(Create(NetSide::Rebel, 240));
        room.Deliver();
        host->Update(room.now);
    }
    void Join() {
        guest = room.Connect(WithCode(MatchRequest::Kind::Join));
        room.Deliver();
    }
    // One 30 ms tick of every page; the guest (the Emperor) steers and
    // fires, the host (the Rebel) presses keys.
    void Step(std::initializer_list<WebNetGame*> pages) {
        ++steps;
        guest->MouseMove(static_cast<int32_t>(steps * 7 % 600),
                         static_cast<int32_t>(steps * 3 % 400));
        if (steps % 9 == 0) guest->LeftButton();
        if (steps % 5 == 0) host->Key(steps % 10 == 0 ? GameKey::Up : GameKey::Space);
        room.now += 30;
        for (WebNetGame* page : pages) page->Update(room.now);
        room.Deliver();
    }
    bool Over(const WebNetGame& page) const { return page.GetPhase() == Phase::Over; }
};

}  // namespace

// Both pages run the same game: the host waits with its code until the
// other comes, then both play the agreed ticks to the same state, and each
// page's replay of the confirmed ticks is the same file.
TEST_F(TwoPages, PlayTheSameGameToTheAgreedEnd) {
    EXPECT_EQ(host->GetPhase(), Phase::WaitingForPlayer);
    EXPECT_EQ(host->Client().Answer().code, kCode);
    EXPECT_EQ(host->Shown(), nullptr);
    Join();
    for (int i = 0; i < 2000 && !(Over(*host) && Over(*guest)); ++i) {
        Step({host.get(), guest.get()});
        if (steps == 20) {
            EXPECT_EQ(host->GetPhase(), Phase::Playing);
            EXPECT_EQ(host->LocalSide(), NetSide::Rebel);
            EXPECT_EQ(guest->LocalSide(), NetSide::Emperor);
        }
        if (steps == 100) guest->NewGame();
    }
    ASSERT_TRUE(Over(*host) && Over(*guest));
    EXPECT_EQ(host->End(), PeerEnd::Done);
    EXPECT_EQ(guest->End(), PeerEnd::Done);
    EXPECT_EQ(host->ConfirmedTick(), 240u);
    EXPECT_EQ(ShownSum(*host), ShownSum(*guest));
    EXPECT_EQ(host->ReplayText(), guest->ReplayText());
    EXPECT_NE(host->ReplayText().find("tick"), std::string::npos);
}

// A resize or a repaint only shows the shared game: its state is unchanged.
TEST_F(TwoPages, LocalEventsChangeNothingInTheSharedGame) {
    Join();
    while (steps < 60) Step({host.get(), guest.get()});
    const uint64_t before = ShownSum(*host);
    host->Resize(333, 222);
    host->Paint();
    EXPECT_EQ(ShownSum(*host), before);
    EXPECT_EQ(host->Shown()->Screen().Width(), 333);
    EXPECT_FALSE(host->TakeScreenWrites().empty());
}

// A spectator who comes late catches up from tick 1 and sees the game end
// as the players saw it.
TEST_F(TwoPages, ALateSpectatorSeesTheSameGame) {
    Join();
    while (steps < 90) Step({host.get(), guest.get()});
    auto spectator = room.Connect(WithCode(MatchRequest::Kind::Watch));
    for (int i = 0; i < 3000 && !(Over(*host) && Over(*spectator)); ++i) {
        Step({host.get(), guest.get(), spectator.get()});
        if (spectator->GetPhase() == Phase::Watching && steps == 95) {
            spectator->Key(GameKey::Space);  // a spectator's inputs go nowhere
        }
    }
    // The room tells the spectator the feed is complete once the players
    // left, and closes: that is the end of the game, not a lost server.
    room.EndFeed();
    for (int i = 0; i < 200 && !Over(*spectator); ++i) spectator->Update(room.now += 30);
    ASSERT_TRUE(Over(*spectator));
    EXPECT_EQ(spectator->GetOutcome(), Outcome::WatchedToTheEnd);
    EXPECT_EQ(spectator->ConfirmedTick(), 240u);
    EXPECT_EQ(ShownSum(*spectator), ShownSum(*host));
    EXPECT_EQ(spectator->ReplayText(), host->ReplayText());
}

// Leaving ends the game on both pages: the other hears it at once. The
// server going away ends it with its own reason, even while the host still
// waits for the other player.
TEST_F(TwoPages, LeavingEndsTheGameOnBothPages) {
    Join();
    while (steps < 40) Step({host.get(), guest.get()});
    guest->Leave();
    EXPECT_EQ(guest->GetOutcome(), Outcome::Quit);
    for (int i = 0; i < 5 && !Over(*host); ++i) Step({host.get()});
    EXPECT_EQ(host->GetOutcome(), Outcome::Peer);
    EXPECT_EQ(host->End(), PeerEnd::Left);

    TestRoom other;
    auto waiting = other.Connect(Create(NetSide::Emperor, 0));
    other.Deliver();
    waiting->Update(other.now);
    other.Vanish();
    waiting->Update(other.now += 30);
    EXPECT_EQ(waiting->GetOutcome(), Outcome::ServerLost);  // the code shown is no more
}

TEST_F(TwoPages, TheServerGoingAwayMidGameIsSaidSo) {
    Join();
    while (steps < 40) Step({host.get(), guest.get()});
    room.Vanish();
    host->Update(room.now += 30);
    guest->Update(room.now);
    EXPECT_EQ(host->GetOutcome(), Outcome::ServerLost);
    EXPECT_EQ(guest->GetOutcome(), Outcome::ServerLost);
    EXPECT_NE(host->Shown(), nullptr);  // the last picture stays until the page lets it go
}

// Games that went apart end on both pages with the tick, and the confirmed
// ticks so far are there to be saved as a replay.
TEST_F(TwoPages, GamesThatWentApartEndWithTheirReplay) {
    Join();
    room.garbleChecksums = true;
    for (int i = 0; i < 400 && !(Over(*host) && Over(*guest)); ++i) {
        Step({host.get(), guest.get()});
    }
    ASSERT_TRUE(Over(*host) && Over(*guest));
    EXPECT_EQ(host->End(), PeerEnd::Desync);
    EXPECT_EQ(guest->End(), PeerEnd::Desync);
    EXPECT_GT(host->EndTick(), 50u);
    EXPECT_NE(host->ReplayText().find("tick"), std::string::npos);
}

// A spectator whose connection breaks before the feed is complete is told
// so once it has shown what came.
TEST_F(TwoPages, ASpectatorLosingTheServerIsToldSo) {
    Join();
    auto spectator = room.Connect(WithCode(MatchRequest::Kind::Watch));
    while (steps < 60) Step({host.get(), guest.get(), spectator.get()});
    ASSERT_EQ(spectator->GetPhase(), Phase::Watching);
    room.Vanish();
    for (int i = 0; i < 20 && !Over(*spectator); ++i) spectator->Update(room.now += 30);
    EXPECT_EQ(spectator->GetOutcome(), Outcome::ServerLost);
    EXPECT_STREQ(spectator->EndText(), qx::net::WatchEndText(PeerEnd::ServerLost));
}

TEST(WebNetGameRefusal, AnUnknownCodeEndsBeforeAnyGameWithTheServersWord) {
    TestRoom room;
    room.refuseJoins = true;
    auto page = room.Connect(WithCode(MatchRequest::Kind::Join));
    room.Deliver();
    page->Update(room.now);
    EXPECT_EQ(page->GetOutcome(), Outcome::NoRoom);
    EXPECT_TRUE(page->Client().Refused());
    EXPECT_EQ(page->Client().Refusal(), qx::net::MatchError::UnknownRoom);
    EXPECT_EQ(page->ReplayText(), "");
}

// The Emperor parks beside the Rebel's base and keeps firing, so games end:
// each end's box opens on both pages at the same tick, the game waits for
// both players to close it (the one who closed first waits for the other),
// and the next game starts on both together.
TEST(WebNetGameEnd, TheEndOfAGameShowsOnBothPagesAndWaitsForBothToCloseIt) {
    TestRoom room;
    auto emperor = room.Connect(Create(NetSide::Emperor, 1600), 13);
    room.Deliver();
    auto rebel = room.Connect(WithCode(MatchRequest::Kind::Join));
    room.Deliver();
    std::map<WebNetGame*, std::vector<uint32_t>> boxes;
    uint32_t rebelClosesAt = 0;  // the Rebel's player reads the first box a while
    bool emperorWaited = false;
    for (uint32_t step = 1; step < 4000; ++step) {
        if (step == 1) emperor->Aim(300, 380);
        if (step >= 20 && step % 4 == 0) emperor->LeftButton();
        room.now += 30;
        for (WebNetGame* page : {emperor.get(), rebel.get()}) {
            page->Update(room.now);
            std::string caption;
            std::string text;
            if (!page->TakeEndBox(caption, text)) continue;
            EXPECT_EQ(caption, "End..");
            boxes[page].push_back(page->CurrentTick());
            if (page == emperor.get()) page->CloseEndBox();
            if (page == rebel.get() && rebelClosesAt == 0)
                rebelClosesAt = step + 60;
            else if (page == rebel.get())
                page->CloseEndBox();
        }
        room.Deliver();
        if (step + 30 < rebelClosesAt) {
            emperorWaited = emperorWaited || emperor->Status().waiting;
            EXPECT_EQ(emperor->CurrentTick(), boxes[emperor.get()].front());
        }
        if (step == rebelClosesAt) rebel->CloseEndBox();
        if (emperor->GetPhase() == Phase::Over && rebel->GetPhase() == Phase::Over) break;
    }
    ASSERT_FALSE(boxes[emperor.get()].empty());
    EXPECT_EQ(boxes[emperor.get()], boxes[rebel.get()]);
    EXPECT_TRUE(emperorWaited);
    EXPECT_EQ(emperor->End(), PeerEnd::Done);
    EXPECT_EQ(rebel->End(), PeerEnd::Done);
    EXPECT_EQ(ShownSum(*emperor), ShownSum(*rebel));
}
