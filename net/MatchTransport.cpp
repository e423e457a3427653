#include "net/MatchTransport.h"

#include <enet/enet.h>

#include <cstdlib>
#include <mutex>

#include "net/PacketCodec.h"

namespace qx::net {
namespace {

constexpr size_t kChannels = 2;
constexpr uint8_t kInputChannel = 0;
constexpr uint8_t kReliableChannel = 1;
// ENet's own give-up times; the game judges the other side by its packets
// (5 s of silence), so ENet's are well above that.
constexpr uint32_t kEnetTimeoutMinMs = 10'000;
constexpr uint32_t kEnetTimeoutMaxMs = 20'000;

bool InitializeEnet() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] {
        ok = enet_initialize() == 0;
        if (ok) std::atexit(enet_deinitialize);
    });
    return ok;
}

}  // namespace

MatchTransport::MatchTransport(ENetHost* h) : host(h), startedAt(std::chrono::steady_clock::now()) {
    host->maximumPacketSize = kMaxPacketSize;
    host->maximumWaitingData = 256 * 1024;
}

MatchTransport::~MatchTransport() {
    if (peer) enet_peer_disconnect_now(peer, 0);
    if (host) enet_host_destroy(host);
}

std::unique_ptr<MatchTransport> MatchTransport::Connect(const std::string& hostName, uint16_t port,
                                                        const MatchRequest& request,
                                                        std::string& error) {
    if (request.Encode().empty()) {
        error = "'" + request.code + "' is no invite code (8 letters and digits)";
        return nullptr;
    }
    if (!InitializeEnet()) {
        error = "ENet cannot start";
        return nullptr;
    }
    ENetAddress address{};
    if (hostName.empty() || enet_address_set_host(&address, hostName.c_str()) != 0) {
        error = "unknown host '" + hostName + "'";
        return nullptr;
    }
    address.port = port;
    ENetHost* host = enet_host_create(nullptr, 1, kChannels, 0, 0);
    if (!host) {
        error = "cannot open a UDP socket";
        return nullptr;
    }
    std::unique_ptr<MatchTransport> transport(new MatchTransport(host));
    transport->client.SetRequest(request);
    transport->peer = enet_host_connect(host, &address, kChannels, kMatchConnectData);
    if (!transport->peer) {
        error = "cannot start connecting to " + hostName;
        return nullptr;
    }
    enet_peer_timeout(transport->peer, 0, kEnetTimeoutMinMs, kEnetTimeoutMaxMs);
    return transport;
}

MatchTransport::State MatchTransport::Update(uint32_t ms) {
    const auto asking = [this] {
        return client.GetState() == State::Connecting || client.GetState() == State::Asking;
    };
    if (!asking()) return client.GetState();
    Service(ms);
    if (asking() &&
        std::chrono::steady_clock::now() - startedAt > std::chrono::milliseconds(kConnectMs)) {
        client.Fail(client.GetState() == State::Connecting ? "the server cannot be reached"
                                                           : "the server gives no room");
    }
    if (client.GetState() == State::Failed && peer) {
        enet_peer_disconnect_now(peer, 0);
        peer = nullptr;
    }
    return client.GetState();
}

void MatchTransport::Service(uint32_t ms) {
    if (!host) return;
    ENetEvent event;
    int got = enet_host_service(host, &event, ms);
    while (got > 0) {
        switch (event.type) {
            case ENET_EVENT_TYPE_CONNECT:
                enet_peer_throttle_configure(peer, ENET_PEER_PACKET_THROTTLE_INTERVAL,
                                             ENET_PEER_PACKET_THROTTLE_SCALE, 0);
                Send(client.OnConnected(), true);
                break;
            case ENET_EVENT_TYPE_RECEIVE:
                if (event.packet->dataLength > kMaxPacketSize) {
                    ++oversized;
                } else {
                    client.OnFrame(event.packet->data, event.packet->dataLength);
                }
                enet_packet_destroy(event.packet);
                break;
            case ENET_EVENT_TYPE_DISCONNECT:
                peer = nullptr;
                client.OnClosed(client.GetState() == State::Connecting
                                    ? "the server cannot be reached"
                                    : "the server closed the connection");
                break;
            case ENET_EVENT_TYPE_NONE:
                break;
        }
        got = enet_host_check_events(host, &event);
    }
}

LinkEvent MatchTransport::Poll(std::vector<uint8_t>& data) {
    if (!client.HasEvent()) Service(0);
    return client.Next(data);
}

void MatchTransport::Send(const std::vector<uint8_t>& data, bool reliable) {
    if (data.empty() || !peer || peer->state != ENET_PEER_STATE_CONNECTED) return;
    ENetPacket* packet =
        enet_packet_create(data.data(), data.size(),
                           reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    if (!packet) return;
    if (enet_peer_send(peer, reliable ? kReliableChannel : kInputChannel, packet) != 0) {
        enet_packet_destroy(packet);
        return;
    }
    enet_host_flush(host);
}

void MatchTransport::Wait(uint32_t ms) {
    if (!client.HasEvent()) Service(ms);
}

void MatchTransport::Close(uint32_t lingerMs) {
    if (!peer) return;
    enet_peer_disconnect_later(peer, 0);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(lingerMs);
    ENetEvent event;
    while (peer && std::chrono::steady_clock::now() < until) {
        if (enet_host_service(host, &event, 10) <= 0) continue;
        if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
        if (event.type == ENET_EVENT_TYPE_DISCONNECT) peer = nullptr;
    }
    if (peer) {
        enet_peer_reset(peer);
        peer = nullptr;
    }
}

uint64_t MatchTransport::BytesSent() const {
    return host->totalSentData;
}

uint64_t MatchTransport::BytesReceived() const {
    return host->totalReceivedData;
}

int MatchTransport::SocketHandle() const {
    return static_cast<int>(host->socket);
}

}  // namespace qx::net
