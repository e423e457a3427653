#include "server/HalfOpenGuard.h"

#include <enet/enet.h>

#include <cstring>
#include <map>
#include <mutex>

namespace qx::server {
namespace {

// An answer held back is due again after this long: never, as the guard
// lets its connect go well before.
constexpr uint32_t kHeld = 3'600'000;

std::mutex guardsMutex;
std::map<const ENetHost*, HalfOpenGuard*>& Guards() {
    static std::map<const ENetHost*, HalfOpenGuard*> guards;
    return guards;
}

bool Half(const ENetPeer& peer) {
    return peer.state == ENET_PEER_STATE_ACKNOWLEDGING_CONNECT;
}

// Sets when each answer the peer has sent (its connect's answer, for a
// half-open peer) is due to be sent again.
void SetResend(ENetPeer& peer, uint32_t timeout, uint32_t limit) {
    for (ENetListIterator it = enet_list_begin(&peer.sentReliableCommands);
         it != enet_list_end(&peer.sentReliableCommands); it = enet_list_next(it)) {
        auto* command = reinterpret_cast<ENetOutgoingCommand*>(it);
        command->roundTripTimeout = timeout;
        command->roundTripTimeoutLimit = limit;
    }
}

// Has the peer's answer sent again in ENet's next sending, the one in this
// same pass.
void AnswerAgain(ENetPeer& peer, uint32_t now) {
    SetResend(peer, 0, kHeld);
    peer.nextTimeout = now;
}

}  // namespace

HalfOpenGuard::HalfOpenGuard(ENetHost& h, size_t peers) : host(h), maxPeers(peers), slots(peers) {
    std::lock_guard lock(guardsMutex);
    Guards()[&host] = this;
    host.intercept = &HalfOpenGuard::Intercept;
}

HalfOpenGuard::~HalfOpenGuard() {
    std::lock_guard lock(guardsMutex);
    Guards().erase(&host);
    host.intercept = nullptr;
}

// Sees every datagram before ENet does. A connect (the only command sent
// to no peer yet) has its request for an acknowledgement taken off, and
// makes room for itself among the half-open connects; anything else passes
// as it came.
int HalfOpenGuard::Intercept(ENetHost* host, ENetEvent*) {
    uint8_t* data = host->receivedData;
    const size_t size = host->receivedDataLength;
    if (size < 2 || host->checksum) return 0;
    const unsigned header = (data[0] << 8) | data[1];
    const unsigned peerId = header & ENET_PROTOCOL_MAXIMUM_PEER_ID;
    if (peerId < host->peerCount && Half(host->peers[peerId])) {
        // The client got the answer (it names its peer) but its
        // acknowledgement was lost: the answer once more, to be acknowledged.
        AnswerAgain(host->peers[peerId], host->serviceTime);
        return 0;
    }
    if (header & ENET_PROTOCOL_HEADER_FLAG_COMPRESSED) return 0;
    if (peerId != ENET_PROTOCOL_MAXIMUM_PEER_ID) return 0;
    const size_t at = (header & ENET_PROTOCOL_HEADER_FLAG_SENT_TIME) ? 4 : 2;
    ENetProtocolConnect connect;
    if (size < at + sizeof connect) return 0;
    if ((data[at] & ENET_PROTOCOL_COMMAND_MASK) != ENET_PROTOCOL_COMMAND_CONNECT) return 0;
    data[at] &= ~ENET_PROTOCOL_COMMAND_FLAG_ACKNOWLEDGE;
    std::memcpy(&connect, data + at, sizeof connect);
    HalfOpenGuard* guard = nullptr;
    {
        std::lock_guard lock(guardsMutex);
        auto found = Guards().find(host);
        if (found != Guards().end()) guard = found->second;
    }
    // ENet keeps a peer's connect ID as it came, in network order.
    if (guard) guard->OnConnect(connect.connectID, host->serviceTime);
    return 0;
}

// The slot's half-open connect, noted with `now` as its start if the guard
// has not seen it before.
HalfOpenGuard::Slot& HalfOpenGuard::Track(size_t index, uint32_t now) {
    const ENetPeer& peer = host.peers[index];
    Slot& slot = slots[index];
    if (!slot.seen || slot.connectId != peer.connectID || slot.host != peer.address.host ||
        slot.port != peer.address.port) {
        slot = Slot{peer.connectID, peer.address.host, peer.address.port, now, true};
    }
    return slot;
}

void HalfOpenGuard::Drop(ENetPeer& peer) {
    enet_peer_reset(&peer);
    ++dropped;
}

// A connect ENet is about to handle. The same connect again (its answer
// was lost, or a forger repeats it) is left to ENet, which ignores it; if
// still half-open its answer is sent once more, in this same pass of ENet's. A new one gets room:
// the oldest half-open connect goes when there are as many as allowed or no slot is free.
void HalfOpenGuard::OnConnect(uint32_t connectId, uint32_t now) {
    const ENetAddress& from = host.receivedAddress;
    ENetPeer* oldest = nullptr;
    uint32_t oldestAge = 0;
    size_t halfOpen = 0;
    bool free = false;
    for (size_t i = 0; i < host.peerCount; ++i) {
        ENetPeer& peer = host.peers[i];
        if (peer.state == ENET_PEER_STATE_DISCONNECTED) {
            free = true;
            continue;
        }
        if (peer.connectID == connectId && peer.address.host == from.host &&
            peer.address.port == from.port) {
            if (Half(peer)) AnswerAgain(peer, now);
            return;
        }
        if (!Half(peer)) continue;
        const uint32_t age = now - Track(i, now).since;
        if (!oldest || age > oldestAge) {
            oldest = &peer;
            oldestAge = age;
        }
        ++halfOpen;
    }
    if (oldest && (halfOpen >= kMaxHalfOpen || !free)) {
        Drop(*oldest);
    } else if (!free && host.peerCount < maxPeers) {
        ++host.peerCount;
    }
}

void HalfOpenGuard::Sweep() {
    const uint32_t now = enet_time_get();
    for (size_t i = 0; i < host.peerCount; ++i) {
        ENetPeer& peer = host.peers[i];
        if (!Half(peer)) continue;
        if (now - Track(i, now).since >= kHalfOpenMs) {
            Drop(peer);
        } else {
            SetResend(peer, kHeld, kHeld);
        }
    }
}

}  // namespace qx::server
