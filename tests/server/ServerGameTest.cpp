#include <enet/enet.h>
#include <gtest/gtest.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>
#include <sstream>
#include <thread>

#include "net/MatchTransport.h"
#include "net/NetPeer.h"
#include "net/PacketCodec.h"
#include "net/RandomPlayer.h"
#include "net/SpectatorFeed.h"
#include "server/ServerApp.h"
#include "tools/loadgen/WsTransport.h"

namespace qx::server {
namespace {

using namespace std::chrono_literals;
using net::MatchRequest;
using net::NetSide;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = boost::asio::ip::tcp;

constexpr uint32_t kTicks = 240;

uint64_t NowMs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

// A server on a free port of 127.0.0.1, in its own thread.
class ServerThread {
  public:
    ServerThread() {
        ServerOptions options;
        options.port = 0;
        options.bind = "127.0.0.1";
        options.limits.maxConnectionsPerAddress = 64;
        options.web = QUARNEX_SOURCE_DIR "/tests/server";
        app = std::make_unique<ServerApp>(options, log);
        std::string error;
        EXPECT_TRUE(app->Open(error)) << error;
        thread = std::thread([this] { app->Run(false); });
    }
    ~ServerThread() { Stop(); }
    void Stop() {
        if (!thread.joinable()) return;
        app->Stop();
        thread.join();
    }
    uint16_t Port() const { return app->Port(); }
    std::string Log() const { return log.str(); }

  private:
    std::ostringstream log;
    std::unique_ptr<ServerApp> app;
    std::thread thread;
};

// One player's machine: its transport, its NetPeer, random inputs, and what
// it confirmed.
struct Machine : net::ConfirmedListener {
    net::Transport* transport = nullptr;
    std::function<net::MatchClient::State(uint32_t)> update;
    std::function<const net::MatchClient&()> client;
    std::unique_ptr<net::NetPeer> peer;
    std::unique_ptr<net::RandomPlayer> player;
    std::vector<uint64_t> sums;
    std::vector<std::pair<net::InputList, net::InputList>> inputs;
    bool begun = false;
    uint64_t beganAt = 0;
    uint64_t ran = 0;

    void OnConfirmed(uint32_t, const net::Frame& frame) override {
        sums.push_back(frame.checksum);
        inputs.emplace_back(frame.emperor, frame.rebel);
    }
    bool WaitForRoom() {
        const auto until = std::chrono::steady_clock::now() + 5s;
        while (std::chrono::steady_clock::now() < until) {
            const auto state = update(2);
            if (state == net::MatchClient::State::InRoom) return true;
            if (state == net::MatchClient::State::Failed) return false;
        }
        return false;
    }
    void StartPeer() {
        const net::MatchMessage& answer = client().Answer();
        net::PeerOptions options;
        options.hosting = client().Hosting();
        options.side = answer.side;
        options.seed = answer.seed;
        options.ticks = kTicks;
        options.hostWaitMs = 10'000;
        peer = std::make_unique<net::NetPeer>(*transport, options);
        player = std::make_unique<net::RandomPlayer>(answer.side,
                                                     answer.side == NetSide::Emperor ? 11 : 12);
    }
    void Step() {
        const uint64_t now = NowMs();
        peer->Pump(now);
        net::RollbackSession* session = peer->Session();
        if (!session || peer->Ended()) return;
        if (!begun) {
            begun = true;
            beganAt = now;
            session->SetListener(this);
            // The other side is known once the session started.
            player = std::make_unique<net::RandomPlayer>(
                session->LocalSide(), session->LocalSide() == NetSide::Emperor ? 11 : 12);
        }
        if (session->OpenEnd()) session->DismissEnd();
        while (peer->WantsLocalInput()) {
            if (!session->AddLocalInput(player->InputsFor(session->NextLocalTick()))) break;
        }
        // The game's pace, 30 ms a tick (the server records no game that
        // runs ahead of the wall clock, and the spectator wants the record).
        const uint64_t due = (now - beganAt) / 30 + 1;
        for (int n = 0; n < 4 && ran < due && peer->Advance(now) == net::RollbackSession::Step::Ran;
             ++n) {
            ++ran;
        }
    }
};

// A client that breaks every rule it can, over raw ENet from 127.0.0.2
// (its own address, so its guessing throttles only itself).
class Hostile {
  public:
    explicit Hostile(uint16_t port) {
        enet_initialize();
        ENetAddress local{};
        enet_address_set_host_ip(&local, "127.0.0.2");
        host = enet_host_create(&local, 1, 2, 0, 0);
        ENetAddress server{};
        enet_address_set_host_ip(&server, "127.0.0.1");
        server.port = port;
        peer = enet_host_connect(host, &server, 2, net::kMatchConnectData);
    }
    ~Hostile() {
        if (host) enet_host_destroy(host);
    }
    bool Connected() { return peer && peer->state == ENET_PEER_STATE_CONNECTED; }
    void Send(const std::vector<uint8_t>& bytes, bool reliable = true) {
        if (!Connected()) return;
        ENetPacket* p =
            enet_packet_create(bytes.data(), bytes.size(),
                               reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
        enet_peer_send(peer, reliable ? 1 : 0, p);
    }
    // Services a while and collects the server's answers.
    void Service(int ms) {
        ENetEvent event;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until) {
            if (enet_host_service(host, &event, 1) <= 0) continue;
            if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                net::MatchMessage m;
                const char* why = nullptr;
                if (net::DecodeMatch(event.packet->data, event.packet->dataLength, m, why)) {
                    answers.push_back(m);
                }
                enet_packet_destroy(event.packet);
            } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
                dropped = true;
                peer = nullptr;
            }
        }
    }
    int Count(net::MatchError error) const {
        int n = 0;
        for (const auto& m : answers) n += m.type == net::MatchType::Error && m.error == error;
        return n;
    }

    ENetHost* host = nullptr;
    ENetPeer* peer = nullptr;
    std::vector<net::MatchMessage> answers;
    bool dropped = false;
};

std::vector<uint8_t> Request(net::MatchType type, const std::string& code) {
    net::MatchMessage m;
    m.type = type;
    m.code = code;
    return net::EncodeMatch(m);
}

std::string HttpGet(uint16_t port, const std::string& target, http::fields* headers = nullptr,
                    unsigned* status = nullptr) {
    boost::asio::io_context io;
    beast::tcp_stream stream(io);
    stream.connect(tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), port));
    http::request<http::empty_body> request(http::verb::get, target, 11);
    request.set(http::field::host, "127.0.0.1");
    request.set(http::field::accept_encoding, "gzip");
    http::write(stream, request);
    beast::flat_buffer buffer;
    http::response<http::string_body> response;
    http::read(stream, buffer, response);
    if (headers) *headers = response.base();
    if (status) *status = response.result_int();
    return response.body();
}

TEST(ServerGame, CrossPlayThroughTheServerWithAHostileClientAndALateSpectator) {
    ServerThread server;
    const uint16_t port = server.Port();

    // The creator plays over ENet, the joiner over WebSocket.
    MatchRequest create;
    create.kind = MatchRequest::Kind::Create;
    create.side = NetSide::Emperor;
    create.ticks = kTicks;
    std::string error;
    auto hostLink = net::MatchTransport::Connect("127.0.0.1", port, create, error);
    ASSERT_TRUE(hostLink) << error;
    Machine host;
    host.transport = hostLink.get();
    host.update = [&](uint32_t ms) { return hostLink->Update(ms); };
    host.client = [&]() -> const net::MatchClient& { return hostLink->Client(); };
    ASSERT_TRUE(host.WaitForRoom()) << hostLink->Client().Failure();
    const std::string code = hostLink->Client().Answer().code;

    boost::asio::io_context wsIo;
    MatchRequest join;
    join.kind = MatchRequest::Kind::Join;
    join.code = code;
    loadgen::WsTransport guestLink(wsIo, "127.0.0.1", port, join, true);
    Machine guest;
    guest.transport = &guestLink;
    guest.update = [&](uint32_t ms) { return guestLink.Update(ms); };
    guest.client = [&]() -> const net::MatchClient& { return guestLink.Client(); };
    ASSERT_TRUE(guest.WaitForRoom()) << guestLink.Client().Failure();
    EXPECT_EQ(guestLink.Client().Answer().side, NetSide::Rebel);
    host.StartPeer();
    guest.StartPeer();

    Hostile hostile(port);
    std::unique_ptr<net::MatchTransport> spectatorLink;
    std::array<std::vector<net::InputList>, 2> watched;
    net::SpectatorFeed feed;
    bool spectatorDone = false;
    bool closed = false;
    int phase = 0;
    const auto until = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < until &&
           !(host.peer->Ended() && guest.peer->Ended() && spectatorDone)) {
        if (!host.peer->Ended()) host.Step();
        if (!guest.peer->Ended()) guest.Step();
        hostLink->Wait(1);
        guestLink.Wait(1);
        hostile.Service(1);
        const uint32_t tick = host.peer->Session() ? host.peer->Session()->ConfirmedTick() : 0;
        if (phase == 0 && hostile.Connected()) {
            // Into the full room, then game packets for either side from
            // the lobby, garbage, a flood and a frame larger than any.
            phase = 1;
            hostile.Send(Request(net::MatchType::Join, code));
            net::InputPacket forged;
            forged.inputs.resize(1);
            forged.inputs[0].Add(GameInput::Target(5, 5));
            for (int i = 0; i < 300; ++i) hostile.Send(net::EncodePacket(forged), false);
            hostile.Send(std::vector<uint8_t>(100, 0xAB));
            hostile.Send(std::vector<uint8_t>(net::kMaxPacketSize + 100, 'Q'));
        } else if (phase == 1 && tick > kTicks / 2) {
            // Halfway through a spectator comes.
            phase = 2;
            MatchRequest watch;
            watch.kind = MatchRequest::Kind::Watch;
            watch.code = code;
            spectatorLink = net::MatchTransport::Connect("127.0.0.1", port, watch, error);
            ASSERT_TRUE(spectatorLink) << error;
        }
        if (spectatorLink && !spectatorDone &&
            spectatorLink->Update(0) == net::MatchClient::State::InRoom) {
            std::vector<uint8_t> data;
            for (net::LinkEvent e = spectatorLink->Poll(data); e != net::LinkEvent::None;
                 e = spectatorLink->Poll(data)) {
                if (e == net::LinkEvent::Disconnected) spectatorDone = true;
                if (e == net::LinkEvent::Received) {
                    ASSERT_TRUE(feed.Add(data.data(), data.size()));
                }
            }
            uint32_t t = 0;
            net::InputList emperor, rebel;
            while (feed.Next(t, emperor, rebel)) {
                watched[0].push_back(emperor);
                watched[1].push_back(rebel);
            }
        }
        if (host.peer->Ended() && guest.peer->Ended() && !closed) {
            // The players go; the spectator then gets the rest and the end.
            closed = true;
            host.peer->Close();
            guest.peer->Close();
        }
    }
    EXPECT_EQ(host.peer->End(), net::PeerEnd::Done) << host.peer->EndDetail();
    EXPECT_EQ(guest.peer->End(), net::PeerEnd::Done) << guest.peer->EndDetail();
    ASSERT_EQ(host.sums.size(), kTicks);
    EXPECT_EQ(host.sums, guest.sums);
    EXPECT_EQ(host.peer->Figures().badPackets, 0u);
    EXPECT_EQ(guest.peer->Figures().badPackets, 0u);

    // The spectator got the game and every tick of both sides from tick 1.
    EXPECT_TRUE(spectatorDone);
    ASSERT_TRUE(feed.Start());
    EXPECT_EQ(feed.Start()->seed, hostLink->Client().Answer().seed);
    EXPECT_EQ(feed.Start()->ticks, kTicks);
    ASSERT_EQ(watched[0].size(), kTicks);
    ASSERT_EQ(watched[1].size(), kTicks);
    for (uint32_t t = 0; t < kTicks; ++t) {
        EXPECT_EQ(watched[0][t], host.inputs[t].first) << t + 1;
        EXPECT_EQ(watched[1][t], host.inputs[t].second) << t + 1;
    }

    // The hostile client was refused and then dropped for its bad frames.
    EXPECT_EQ(hostile.Count(net::MatchError::RoomFull), 1);
    EXPECT_TRUE(hostile.dropped);
    const std::string metrics = HttpGet(port, "/metrics");
    EXPECT_NE(metrics.find("quarnex_bad_packets_total{transport=\"enet\"} 1"), std::string::npos)
        << metrics;
    EXPECT_NE(metrics.find("quarnex_rooms_created_total 1\n"), std::string::npos);
    server.Stop();
    const std::string log = server.Log();
    EXPECT_NE(log.find("room " + code + " created"), std::string::npos) << log;
    EXPECT_NE(log.find("room " + code + " started"), std::string::npos);
    EXPECT_NE(log.find("room " + code + " spectator 1"), std::string::npos);
}

TEST(ServerGame, UnknownCodesFullRoomsGuessingAndHugeWebSocketFrames) {
    ServerThread server;
    const uint16_t port = server.Port();
    Hostile guesser(port);
    for (int i = 0; i < 50 && !guesser.Connected(); ++i) guesser.Service(10);
    ASSERT_TRUE(guesser.Connected());
    for (int i = 0; i < 15; ++i) guesser.Send(Request(net::MatchType::Watch, net::CodeFromBits(i)));
    guesser.Service(200);
    EXPECT_EQ(guesser.Count(net::MatchError::UnknownRoom), 10);
    EXPECT_EQ(guesser.Count(net::MatchError::Throttled), 5);

    // The client's side of an unknown code: a refusal it can name.
    MatchRequest join;
    join.kind = MatchRequest::Kind::Join;
    join.code = "22222222";
    std::string error;
    auto link = net::MatchTransport::Connect("127.0.0.1", port, join, error);
    ASSERT_TRUE(link);
    while (link->Update(5) != net::MatchClient::State::Failed) {
    }
    EXPECT_TRUE(link->Client().Refused());
    EXPECT_EQ(link->Client().Refusal(), net::MatchError::UnknownRoom);
    join.code = "bad!code";
    EXPECT_FALSE(net::MatchTransport::Connect("127.0.0.1", port, join, error));

    // A WebSocket message longer than any frame ends that connection.
    boost::asio::io_context io;
    beast::websocket::stream<beast::tcp_stream> ws(io);
    beast::get_lowest_layer(ws).connect(
        tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), port));
    ws.handshake("127.0.0.1", "/ws");
    ws.binary(true);
    std::vector<uint8_t> huge(1 << 20, 'Q');
    boost::system::error_code ec;
    ws.write(boost::asio::buffer(huge), ec);
    beast::flat_buffer buffer;
    ws.read(buffer, ec);
    EXPECT_TRUE(ec) << "the server kept a connection that sent 1 MB";

    // The web folder is served, with the precompressed file when accepted.
    http::fields headers;
    unsigned status = 0;
    EXPECT_EQ(HttpGet(port, "/web-sample.txt", &headers, &status), "plain\n");
    EXPECT_EQ(status, 200u);
    EXPECT_EQ(HttpGet(port, "/web-sample.js", &headers, &status).size(), 44u);
    EXPECT_EQ(headers[http::field::content_encoding], "gzip");
    EXPECT_EQ(headers[http::field::content_type], "text/javascript; charset=utf-8");
    HttpGet(port, "/../../etc/passwd", nullptr, &status);
    EXPECT_EQ(status, 403u);
}

}  // namespace
}  // namespace qx::server
