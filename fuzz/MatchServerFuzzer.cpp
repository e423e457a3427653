// libFuzzer entry for the match server's frame decoding: the control
// message and feed decoders (anything decoded encodes back to the same
// bytes), then the server itself fed the input as frames from four
// connections (one in the lobby, a room's two players, a spectator), with
// its clock moving. Whatever comes, the server must not crash, must send
// only well-formed frames, and must never answer a connection in the lobby
// with more bytes than that connection sent.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <vector>

#include "net/MatchProtocol.h"
#include "net/PacketCodec.h"
#include "server/MatchServer.h"

namespace {

using namespace qx;
using namespace qx::server;

class Recorder : public Connection {
  public:
    explicit Recorder(const char* address) : Connection(TransportKind::Enet, address, 0) {}
    void Send(const uint8_t* data, size_t size, bool) override {
        sent += size;
        net::MatchMessage m;
        net::FeedFrame feed;
        net::Packet packet;
        const char* why = nullptr;
        const bool ok = net::DecodeMatch(data, size, m, why) ||
                        net::DecodeFeed(data, size, feed, why) ||
                        net::DecodePacket(data, size, packet, why);
        if (!ok) __builtin_trap();
    }
    void Close() override { closed = true; }
    size_t Backlog() const override { return 0; }
    size_t sent = 0;
    size_t received = 0;
    bool closed = false;
};

// Codes from a counter: the same input runs the same way.
class CountingRandom : public SecureRandom {
  public:
    void Fill(uint8_t* data, uint64_t size) override {
        for (uint64_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(++state * 131);
    }
    uint64_t state = 0;
};

void CheckRoundTrips(const uint8_t* data, size_t size) {
    net::MatchMessage m;
    const char* why = nullptr;
    if (net::DecodeMatch(data, size, m, why)) {
        const std::vector<uint8_t> again = net::EncodeMatch(m);
        if (again.size() != size || std::memcmp(again.data(), data, size) != 0) __builtin_trap();
    } else if (why == nullptr) {
        __builtin_trap();
    }
    net::FeedFrame feed;
    if (net::DecodeFeed(data, size, feed, why)) {
        std::vector<uint8_t> lists;
        for (const net::InputList& list : feed.inputs) net::AppendTickInputs(list, lists);
        const std::vector<uint8_t> again =
            net::EncodeFeed(feed.side, feed.firstTick, static_cast<uint8_t>(feed.inputs.size()),
                            lists.data(), lists.size());
        if (again.size() != size || std::memcmp(again.data(), data, size) != 0) __builtin_trap();
    }
}

void Frame(MatchServer& server, Recorder& c, const std::vector<uint8_t>& bytes, uint64_t now) {
    c.received += bytes.size();
    server.OnFrame(c, bytes.data(), bytes.size(), now);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckRoundTrips(data, size);

    ServerLimits limits;
    Metrics metrics;
    CountingRandom random;
    std::ostringstream log;
    MatchServer server(limits, metrics, random, log);
    Recorder lobby("10.0.0.1"), host("10.0.0.2"), guest("10.0.0.3"), spectator("10.0.0.4");
    Recorder* all[] = {&lobby, &host, &guest, &spectator};
    uint64_t now = 1;
    for (Recorder* c : all) server.OnOpen(*c, now);
    net::MatchMessage create;
    create.type = net::MatchType::Create;
    Frame(server, host, net::EncodeMatch(create), now);
    const std::string code = net::CodeFromBits(0);  // unknown unless the counter made it
    net::MatchMessage join;
    join.type = net::MatchType::Quick;
    Frame(server, guest, net::EncodeMatch(join), now);

    // Frames: a byte naming the connection and the clock's step, two bytes
    // of length, then the frame.
    size_t pos = 0;
    while (pos + 3 <= size) {
        Recorder& c = *all[data[pos] & 3];
        now += data[pos] >> 2;
        const size_t length =
            std::min<size_t>(data[pos + 1] | (data[pos + 2] << 8), size - pos - 3);
        pos += 3;
        if (c.role != Role::Closing) {
            Frame(server, c, std::vector<uint8_t>(data + pos, data + pos + length), now);
        }
        pos += length;
        server.Tick(now);
        if (lobby.role == Role::Lobby && lobby.sent > lobby.received) __builtin_trap();
    }
    for (Recorder* c : all) server.OnClosed(*c, now);
    if (server.RoomCount() != 0 || metrics.rooms != 0) __builtin_trap();
    (void)code;
    return 0;
}
