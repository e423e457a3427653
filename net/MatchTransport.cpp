#include "net/MatchTransport.h"

#include <enet/enet.h>

#include <chrono>

#include "net/EnetPeerLink.h"
#include "net/PacketCodec.h"

namespace qx::net {
namespace {

// ENet's own give-up times; the game judges the other side and the server
// by what arrives (5 s of silence), so ENet's are well above that: no
// acknowledgement for 30 s, or for 10 s after 10 resends of one message
// (a lossy link resends often; with ENet's default of 5 resends, one game
// in ten at 20% loss ended on ENet's word alone).
constexpr uint32_t kEnetTimeoutLimit = 1024;
constexpr uint32_t kEnetTimeoutMinMs = 10'000;
constexpr uint32_t kEnetTimeoutMaxMs = 30'000;

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
    ENetHost* host = enet_host_create(nullptr, 1, kEnetChannels, 0, 0);
    if (!host) {
        error = "cannot open a UDP socket";
        return nullptr;
    }
    std::unique_ptr<MatchTransport> transport(new MatchTransport(host));
    transport->client.SetRequest(request);
    transport->peer = enet_host_connect(host, &address, kEnetChannels, kMatchConnectData);
    if (!transport->peer) {
        error = "cannot start connecting to " + hostName;
        return nullptr;
    }
    enet_peer_timeout(transport->peer, kEnetTimeoutLimit, kEnetTimeoutMinMs, kEnetTimeoutMaxMs);
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
        const bool connecting = client.GetState() == State::Connecting;
        client.Fail(connecting ? "the server cannot be reached" : "the server gives no room",
                    connecting ? MatchClient::Fault::Unreachable : MatchClient::Fault::NoAnswer);
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
                for (const std::vector<uint8_t>& frame : client.Greeting()) Send(frame, true);
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
    SendToPeer(host, peer, data, reliable);
}

void MatchTransport::Wait(uint32_t ms) {
    if (!client.HasEvent()) Service(ms);
}

void MatchTransport::Close(uint32_t lingerMs) {
    LeavePeer(host, peer, 0, lingerMs);
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
