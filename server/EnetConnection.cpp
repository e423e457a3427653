#include "server/EnetConnection.h"

#include <enet/enet.h>

#include "net/EnetPeerLink.h"
#include "server/EnetEndpoint.h"

namespace qx::server {

EnetConnection::EnetConnection(EnetEndpoint& e, ENetPeer* p, std::string address, uint64_t nowMs)
    : Connection(TransportKind::Enet, std::move(address), nowMs), endpoint(e), peer(p) {}

void EnetConnection::Send(const uint8_t* data, size_t size, bool reliable) {
    if (net::QueueToPeer(peer, data, size, reliable)) endpoint.ScheduleFlush();
}

void EnetConnection::Close() {
    // ENet reports the end (acknowledged or timed out) as a disconnect event.
    enet_peer_disconnect_later(peer, 0);
    endpoint.ScheduleFlush();
}

size_t EnetConnection::Backlog() const {
    // Reliable data not yet acknowledged plus what waits to be sent (a
    // frame of the feed is at most a few hundred bytes).
    return peer->reliableDataInTransit + enet_list_size(&peer->outgoingCommands) * 256;
}

}  // namespace qx::server
