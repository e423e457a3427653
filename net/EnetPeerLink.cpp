#include "net/EnetPeerLink.h"

#include <enet/enet.h>

#include <chrono>
#include <cstdlib>
#include <mutex>

namespace qx::net {

bool InitializeEnet() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] {
        ok = enet_initialize() == 0;
        if (ok) std::atexit(enet_deinitialize);
    });
    return ok;
}

bool QueueToPeer(ENetPeer* peer, const uint8_t* data, size_t size, bool reliable) {
    if (size == 0 || !peer || peer->state != ENET_PEER_STATE_CONNECTED) return false;
    ENetPacket* packet = enet_packet_create(
        data, size, reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    if (!packet) return false;
    if (enet_peer_send(peer, reliable ? kEnetReliableChannel : kEnetInputChannel, packet) != 0) {
        enet_packet_destroy(packet);
        return false;
    }
    return true;
}

void SendToPeer(ENetHost* host, ENetPeer* peer, const std::vector<uint8_t>& data, bool reliable) {
    if (QueueToPeer(peer, data.data(), data.size(), reliable)) enet_host_flush(host);
}

void LeavePeer(ENetHost* host, ENetPeer*& peer, uint32_t reason, uint32_t lingerMs) {
    if (!peer) return;
    enet_peer_disconnect_later(peer, reason);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(lingerMs);
    ENetEvent event;
    while (peer && std::chrono::steady_clock::now() < until) {
        if (enet_host_service(host, &event, 10) <= 0) continue;
        if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
        if (event.type == ENET_EVENT_TYPE_DISCONNECT && event.peer == peer) peer = nullptr;
    }
    if (peer) {
        enet_peer_reset(peer);
        peer = nullptr;
    }
}

}  // namespace qx::net
