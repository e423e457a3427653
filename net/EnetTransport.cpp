#include "net/EnetTransport.h"

#include <enet/enet.h>

#include <chrono>
#include <cstdio>
#include <variant>

#include "net/EnetPeerLink.h"
#include "net/PacketCodec.h"

namespace qx::net {
namespace {

constexpr size_t kMaxWaitingData = 64 * 1024;
// Events kept for Poll at most; a peer sending faster than the game reads
// loses the excess (its inputs come again in its later packets).
constexpr size_t kMaxPending = 256;
// ENet's time-out while a joiner connects (the game gives up as soon).
constexpr uint32_t kConnectTimeoutMs = 5000;

bool StartEnet(std::string& error) {
    if (InitializeEnet()) return true;
    error = "ENet cannot start";
    return false;
}

void Limit(ENetHost* host) {
    host->maximumPacketSize = kMaxPacketSize;
    host->maximumWaitingData = kMaxWaitingData;
}

uint64_t NowMs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count()) +
           1;
}

// The game's connection: ENet gives up on it only long after the game's own
// silence rule would have ended the game, and never holds back unreliable
// packets: ENet would drop some on a jittery link to ease congestion, but
// the game's packets are small and each one repeats the inputs not yet
// acknowledged, so every one sent is worth sending.
void Configure(ENetPeer* peer) {
    enet_peer_timeout(peer, EnetTransport::kTimeoutLimit, EnetTransport::kTimeoutMinMs,
                      EnetTransport::kTimeoutMaxMs);
    enet_peer_throttle_configure(peer, ENET_PEER_PACKET_THROTTLE_INTERVAL,
                                 ENET_PEER_PACKET_THROTTLE_SCALE, 0);
}

bool IsHello(const uint8_t* bytes, size_t size) {
    Packet packet;
    const char* error = nullptr;
    return DecodePacket(bytes, size, packet, error) && std::holds_alternative<HelloPacket>(packet);
}

}  // namespace

EnetTransport::EnetTransport(ENetHost* enetHost) : host(enetHost) {
    Limit(host);
    peerSlots.resize(host->peerCount);
}

EnetTransport::~EnetTransport() {
    if (peer) enet_peer_disconnect_now(peer, static_cast<uint32_t>(LinkClose::Left));
    if (host) enet_host_destroy(host);
}

std::unique_ptr<EnetTransport> EnetTransport::Listen(uint16_t port, std::string& error) {
    if (!StartEnet(error)) return nullptr;
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    ENetHost* host = enet_host_create(&address, kHostSlots, kEnetChannels, 0, 0);
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
    if (!StartEnet(error)) return nullptr;
    ENetAddress address{};
    if (hostName.empty() || enet_address_set_host(&address, hostName.c_str()) != 0) {
        error = "unknown host '" + hostName + "'";
        return nullptr;
    }
    address.port = port;
    ENetHost* host = enet_host_create(nullptr, 1, kEnetChannels, 0, 0);
    if (!host) {
        error = "cannot open a UDP socket";
        return nullptr;
    }
    std::unique_ptr<EnetTransport> transport(new EnetTransport(host));
    transport->peer = enet_host_connect(host, &address, kEnetChannels, kProtocolVersion);
    if (!transport->peer) {
        error = "cannot start connecting to " + hostName;
        return nullptr;
    }
    enet_peer_timeout(transport->peer, 0, kConnectTimeoutMs, kConnectTimeoutMs);
    return transport;
}

void EnetTransport::Service(uint32_t ms) {
    if (listening) Sweep();
    ENetEvent event;
    const int got = enet_host_service(host, &event, ms);
    if (got <= 0) return;
    switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
            OnConnect(event.peer, event.data);
            break;
        case ENET_EVENT_TYPE_RECEIVE:
            OnReceive(event.peer, event.packet->data, event.packet->dataLength);
            enet_packet_destroy(event.packet);
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            if (event.peer == peer) {
                peer = nullptr;
                const uint32_t reason = event.data <= static_cast<uint32_t>(LinkClose::OtherVersion)
                                            ? event.data
                                            : static_cast<uint32_t>(LinkClose::Lost);
                pending.push_back({LinkEvent::Disconnected, {static_cast<uint8_t>(reason)}});
            }
            break;
        case ENET_EVENT_TYPE_NONE:
            break;
    }
}

// A joiner's own connection is the game's at once; a host's connections
// wait for their hello (OnReceive). Other versions of the game, and anyone
// once a game is on, are turned away with the reason.
void EnetTransport::OnConnect(ENetPeer* from, uint32_t data) {
    if (!listening) {
        if (from != peer) {
            enet_peer_disconnect_now(from, static_cast<uint32_t>(LinkClose::Full));
            return;
        }
        everConnected = true;
        Configure(peer);
        pending.push_back({LinkEvent::Connected, {}});
        return;
    }
    if (data != kProtocolVersion) return Turn(from, LinkClose::OtherVersion);
    if (everConnected) return Turn(from, LinkClose::Full);
}

void EnetTransport::OnReceive(ENetPeer* from, const uint8_t* bytes, size_t size) {
    if (from == peer && peer) {
        if (size > kMaxPacketSize) {
            ++oversized;
        } else if (pending.size() < kMaxPending) {
            pending.push_back({LinkEvent::Received, {bytes, bytes + size}});
        }
        return;
    }
    if (!listening || everConnected || from->state != ENET_PEER_STATE_CONNECTED) return;
    if (size > kMaxPacketSize || !IsHello(bytes, size)) return;
    // The first hello makes its sender the other player; anyone else still
    // connecting learns the game is full.
    peer = from;
    everConnected = true;
    Configure(peer);
    pending.push_back({LinkEvent::Connected, {}});
    pending.push_back({LinkEvent::Received, {bytes, bytes + size}});
    for (size_t i = 0; i < host->peerCount; ++i) {
        ENetPeer* other = &host->peers[i];
        if (other != peer && other->state != ENET_PEER_STATE_DISCONNECTED) {
            Turn(other, LinkClose::Full);
        }
    }
}

void EnetTransport::Turn(ENetPeer* away, LinkClose reason) {
    ++droppedConnections;
    enet_peer_disconnect(away, static_cast<uint32_t>(reason));
}

// Every connection but the game's has kPendingMs from when it first shows
// (half-open or not) to become the game's; after that it is dropped, also
// when it is being turned away and never acknowledges it.
void EnetTransport::Sweep() {
    const uint64_t now = NowMs();
    for (size_t i = 0; i < host->peerCount && i < peerSlots.size(); ++i) {
        ENetPeer* p = &host->peers[i];
        Slot& slot = peerSlots[i];
        if (p->state == ENET_PEER_STATE_DISCONNECTED) {
            slot = {};
            continue;
        }
        if (slot.since == 0 || slot.connectId != p->connectID) {
            slot = {p->connectID, now};
            continue;
        }
        if (p == peer || now - slot.since < kPendingMs) continue;
        if (p->state == ENET_PEER_STATE_CONNECTED) {
            enet_peer_disconnect_now(p, static_cast<uint32_t>(LinkClose::Lost));
        } else {
            enet_peer_reset(p);
        }
        ++droppedConnections;
        slot = {};
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
    SendToPeer(host, peer, data, reliable);
}

void EnetTransport::Wait(uint32_t ms) {
    if (pending.empty()) Service(ms);
}

void EnetTransport::Close(uint32_t lingerMs) {
    LeavePeer(host, peer, static_cast<uint32_t>(LinkClose::Left), lingerMs);
}

uint64_t EnetTransport::BytesSent() const {
    return host->totalSentData;
}

uint64_t EnetTransport::BytesReceived() const {
    return host->totalReceivedData;
}

size_t EnetTransport::PendingConnections() const {
    size_t count = 0;
    for (size_t i = 0; i < host->peerCount; ++i) {
        const ENetPeer& p = host->peers[i];
        if (&p != peer && p.state != ENET_PEER_STATE_DISCONNECTED) ++count;
    }
    return count;
}

int EnetTransport::SocketHandle() const {
    return static_cast<int>(host->socket);
}

}  // namespace qx::net
