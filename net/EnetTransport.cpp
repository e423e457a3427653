#include "net/EnetTransport.h"

#include <enet/enet.h>

#include <chrono>
#include <cstdio>
#include <mutex>

#include "net/PacketCodec.h"

namespace qx::net {
namespace {

constexpr size_t kChannels = 2;
constexpr uint8_t kInputChannel = 0;
constexpr uint8_t kReliableChannel = 1;
constexpr size_t kMaxWaitingData = 64 * 1024;
// Events kept for Poll at most; a peer sending faster than the game reads
// loses the excess (its inputs come again in its later packets).
constexpr size_t kMaxPending = 256;

bool InitializeEnet(std::string& error) {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] {
        ok = enet_initialize() == 0;
        if (ok) std::atexit(enet_deinitialize);
    });
    if (!ok) error = "ENet cannot start";
    return ok;
}

void Limit(ENetHost* host) {
    host->maximumPacketSize = kMaxPacketSize;
    host->maximumWaitingData = kMaxWaitingData;
}

// A peer that gives up after kTimeoutMs of silence and never holds back
// unreliable packets: ENet would drop some on a jittery link to ease
// congestion, but the game's packets are small and each one repeats the
// inputs not yet acknowledged, so every one sent is worth sending.
void Configure(ENetPeer* peer, uint32_t timeoutMs) {
    enet_peer_timeout(peer, 0, timeoutMs, timeoutMs);
    enet_peer_throttle_configure(peer, ENET_PEER_PACKET_THROTTLE_INTERVAL,
                                 ENET_PEER_PACKET_THROTTLE_SCALE, 0);
}

}  // namespace

EnetTransport::EnetTransport(ENetHost* enetHost) : host(enetHost) {
    Limit(host);
}

EnetTransport::~EnetTransport() {
    if (peer) enet_peer_disconnect_now(peer, 0);
    if (host) enet_host_destroy(host);
}

std::unique_ptr<EnetTransport> EnetTransport::Listen(uint16_t port, std::string& error) {
    if (!InitializeEnet(error)) return nullptr;
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    ENetHost* host = enet_host_create(&address, 1, kChannels, 0, 0);
    if (!host) {
        error = "cannot listen on UDP port " + std::to_string(port);
        return nullptr;
    }
    std::unique_ptr<EnetTransport> transport(new EnetTransport(host));
    transport->listening = true;
    return transport;
}

std::unique_ptr<EnetTransport> EnetTransport::Join(const std::string& hostName, uint16_t port,
                                                   std::string& error) {
    if (!InitializeEnet(error)) return nullptr;
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
    std::unique_ptr<EnetTransport> transport(new EnetTransport(host));
    transport->peer = enet_host_connect(host, &address, kChannels, kProtocolVersion);
    if (!transport->peer) {
        error = "cannot start connecting to " + hostName;
        return nullptr;
    }
    enet_peer_timeout(transport->peer, 0, kTimeoutMs, kTimeoutMs);
    return transport;
}

void EnetTransport::Service(uint32_t ms) {
    ENetEvent event;
    const int got = enet_host_service(host, &event, ms);
    if (got <= 0) return;
    switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
            // One game, one other machine: later connections and other
            // versions of the game are turned away.
            if ((peer && event.peer != peer) || everConnected ||
                (listening && event.data != kProtocolVersion)) {
                enet_peer_disconnect_now(event.peer, 0);
                if (event.peer == peer) peer = nullptr;
                break;
            }
            everConnected = true;
            peer = event.peer;
            Configure(peer, kTimeoutMs);
            pending.push_back({LinkEvent::Connected, {}});
            break;
        case ENET_EVENT_TYPE_RECEIVE: {
            ENetPacket* packet = event.packet;
            if (packet->dataLength > kMaxPacketSize) {
                ++oversized;
            } else if (pending.size() < kMaxPending) {
                pending.push_back(
                    {LinkEvent::Received, {packet->data, packet->data + packet->dataLength}});
            }
            enet_packet_destroy(packet);
            break;
        }
        case ENET_EVENT_TYPE_DISCONNECT:
            if (event.peer == peer) {
                peer = nullptr;
                pending.push_back({LinkEvent::Disconnected, {}});
            }
            break;
        case ENET_EVENT_TYPE_NONE:
            break;
    }
}

LinkEvent EnetTransport::Poll(std::vector<uint8_t>& data) {
    if (pending.empty()) Service(0);
    if (pending.empty()) return LinkEvent::None;
    Pending next = std::move(pending.front());
    pending.pop_front();
    data = std::move(next.data);
    return next.event;
}

void EnetTransport::Send(const std::vector<uint8_t>& data, bool reliable) {
    if (!peer || peer->state != ENET_PEER_STATE_CONNECTED) return;
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

void EnetTransport::Wait(uint32_t ms) {
    if (pending.empty()) Service(ms);
}

void EnetTransport::Close(uint32_t lingerMs) {
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

uint64_t EnetTransport::BytesSent() const {
    return host->totalSentData;
}

uint64_t EnetTransport::BytesReceived() const {
    return host->totalReceivedData;
}

int EnetTransport::SocketHandle() const {
    return static_cast<int>(host->socket);
}

}  // namespace qx::net
