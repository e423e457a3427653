// The match server's relay path per packet, without sockets: a game's input
// packet from one player through MatchServer's checks (rate, decoding,
// sides, the wall clock, the room's history) to the other player's
// connection, which queues it as its transport would: an ENet stand-in that
// only takes the bytes (ENet copies them itself), a WebSocket stand-in that
// queues them like WebSocketConnection does.
#include <benchmark/benchmark.h>

#include <sstream>

#include "net/PacketCodec.h"
#include "net/RandomPlayer.h"
#include "server/FrameQueue.h"
#include "server/MatchServer.h"

namespace {

using namespace qx;
using namespace qx::server;

class StandIn : public Connection {
  public:
    StandIn(TransportKind kind, std::string address) : Connection(kind, std::move(address), 0) {}
    void Send(const uint8_t* data, size_t size, bool reliable) override {
        if (reliable) last.assign(data, data + size);
        if (Kind() == TransportKind::WebSocket) {
            out.Push(data, size);
            if (out.Count() > 64) out.Pop();  // the writes done meanwhile
        } else {
            benchmark::DoNotOptimize(data[size - 1]);
        }
        ++frames;
    }
    void Close() override {}
    size_t Backlog() const override { return out.Bytes(); }
    size_t frames = 0;
    std::vector<uint8_t> last;  // the last reliable frame

  private:
    FrameQueue out;
};

struct Match {
    ServerLimits limits;
    Metrics metrics;
    SecureRandom random;
    std::ostringstream log;
    MatchServer server{limits, metrics, random, log};
    StandIn host;
    StandIn guest;
    uint64_t now = 1'000;

    explicit Match(TransportKind kind) : host(kind, "10.0.0.1"), guest(kind, "10.0.0.2") {
        server.OnOpen(host, now);
        server.OnOpen(guest, now);
        net::MatchMessage create;
        create.type = net::MatchType::Create;
        Request(host, create);
        net::MatchMessage join;
        join.type = net::MatchType::Join;
        net::MatchMessage created;
        const char* error = nullptr;
        net::DecodeMatch(host.last.data(), host.last.size(), created, error);
        join.code = created.code;
        Request(guest, join);
        Packet(guest, net::EncodePacket(net::HelloPacket{0}));
        Packet(host, net::EncodePacket(net::StartPacket{created.seed, net::NetSide::Emperor, 0}));
    }
    void Request(StandIn& c, const net::MatchMessage& m) {
        const std::vector<uint8_t> bytes = net::EncodeMatch(m);
        server.OnFrame(c, bytes.data(), bytes.size(), now);
    }
    void Packet(StandIn& c, const std::vector<uint8_t>& bytes) {
        server.OnFrame(c, bytes.data(), bytes.size(), now);
    }
};

// The host's input packets as the game sends them: each tick's packet
// repeats the ticks the other machine has not acknowledged (four here).
void Relay(benchmark::State& state, TransportKind kind) {
    Match match(kind);
    net::RandomPlayer player(net::NetSide::Emperor, 7);
    std::vector<std::vector<uint8_t>> packets;
    for (uint32_t tick = 1; tick <= 65'536; ++tick) {
        net::InputPacket p;
        p.sequence = p.currentTick = tick;
        p.firstTick = tick > 3 ? tick - 3 : 1;
        for (uint32_t t = p.firstTick; t <= tick; ++t) p.inputs.push_back(player.InputsFor(t));
        packets.push_back(net::EncodePacket(p));
    }
    size_t i = 0;
    for (auto _ : state) {
        // 30 ms a tick, so the rate limits and the wall clock let each through.
        match.now += 30;
        match.Packet(match.host, packets[i]);
        if (++i == packets.size()) i = 0;
    }
    if (match.guest.frames < static_cast<size_t>(state.iterations())) {
        state.SkipWithError("packets were not relayed");
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_RelayEnet(benchmark::State& state) {
    Relay(state, TransportKind::Enet);
}
BENCHMARK(BM_RelayEnet);

void BM_RelayWebSocket(benchmark::State& state) {
    Relay(state, TransportKind::WebSocket);
}
BENCHMARK(BM_RelayWebSocket);

}  // namespace
