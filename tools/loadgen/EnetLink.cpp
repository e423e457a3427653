#include "tools/loadgen/EnetLink.h"

namespace qx::loadgen {

EnetLink::EnetLink(EnetClientHost& h, const std::string& server, uint16_t port,
                   const net::MatchRequest& request)
    : host(h) {
    client.SetRequest(request);
    peer = host.Connect(server, port, this);
    if (!peer) client.Fail("cannot connect over ENet");
}

EnetLink::~EnetLink() {
    host.Forget(peer);
}

void EnetLink::OnConnected() {
    host.Send(peer, client.OnConnected(), true);
}

void EnetLink::OnFrame(const uint8_t* data, size_t size) {
    client.OnFrame(data, size);
    if (onEvent) onEvent();
}

void EnetLink::OnDisconnected() {
    peer = nullptr;
    client.OnClosed("the server closed the connection");
    if (onEvent) onEvent();
}

void EnetLink::Send(const std::vector<uint8_t>& data, bool reliable) {
    host.Send(peer, data, reliable);
}

void EnetLink::Close(uint32_t) {
    if (peer) enet_peer_disconnect_later(peer, 0);
}

}  // namespace qx::loadgen
