#include "tools/loadgen/EnetClientHost.h"

#include <boost/asio/post.hpp>

#include "net/EnetPeerLink.h"
#include "net/MatchProtocol.h"
#include "net/PacketCodec.h"

namespace qx::loadgen {
namespace {

constexpr auto kMinPassGap = std::chrono::microseconds(500);
constexpr auto kHousekeeping = std::chrono::milliseconds(5);
constexpr int kBuffer = 4 << 20;

}  // namespace

EnetClientHost::EnetClientHost(boost::asio::io_context& context, size_t maxPeers,
                               const std::string& bind)
    : io(context), socket(context), passTimer(context), houseTimer(context) {
    if (!net::InitializeEnet()) return;
    ENetAddress local{};
    if (!bind.empty() && enet_address_set_host_ip(&local, bind.c_str()) != 0) return;
    host = enet_host_create(bind.empty() ? nullptr : &local, maxPeers, net::kEnetChannels, 0, 0);
    if (!host) return;
    enet_socket_set_option(host->socket, ENET_SOCKOPT_RCVBUF, kBuffer);
    enet_socket_set_option(host->socket, ENET_SOCKOPT_SNDBUF, kBuffer);
    host->maximumPacketSize = net::kMaxPacketSize;
    socket.assign(static_cast<int>(host->socket));
    Watch();
    Housekeep();
}

EnetClientHost::~EnetClientHost() {
    if (socket.is_open()) socket.release();
    if (host) enet_host_destroy(host);
}

ENetPeer* EnetClientHost::Connect(const std::string& name, uint16_t port, Sink* sink) {
    if (!host) return nullptr;
    ENetAddress address{};
    if (enet_address_set_host(&address, name.c_str()) != 0) return nullptr;
    address.port = port;
    ENetPeer* peer = enet_host_connect(host, &address, net::kEnetChannels, net::kMatchConnectData);
    if (!peer) return nullptr;
    peer->data = sink;
    enet_peer_timeout(peer, 0, 10'000, 20'000);
    Kick();
    return peer;
}

void EnetClientHost::Send(ENetPeer* peer, const std::vector<uint8_t>& data, bool reliable) {
    if (net::QueueToPeer(peer, data.data(), data.size(), reliable)) Kick();
}

void EnetClientHost::Forget(ENetPeer* peer) {
    if (peer) peer->data = nullptr;
}

void EnetClientHost::Watch() {
    socket.async_wait(boost::asio::posix::stream_descriptor::wait_read,
                      [this](const boost::system::error_code& ec) {
                          if (ec) return;
                          Watch();  // first: the socket is watched edge-triggered
                          Kick();
                      });
}

void EnetClientHost::Kick() {
    if (passPending) return;
    passPending = true;
    const auto due = lastPass + kMinPassGap;
    if (std::chrono::steady_clock::now() >= due) {
        boost::asio::post(io, [this] { Service(); });
        return;
    }
    passTimer.expires_at(due);
    passTimer.async_wait([this](const boost::system::error_code& ec) {
        if (!ec) Service();
    });
}

void EnetClientHost::Housekeep() {
    if (std::chrono::steady_clock::now() - lastPass >= kHousekeeping) Kick();
    houseTimer.expires_after(kHousekeeping);
    houseTimer.async_wait([this](const boost::system::error_code& ec) {
        if (!ec) Housekeep();
    });
}

void EnetClientHost::Service() {
    passPending = false;
    lastPass = std::chrono::steady_clock::now();
    ENetEvent event;
    for (int pass = 0; pass < 8; ++pass) {
        int handled = 0;
        for (int got = enet_host_service(host, &event, 0); got > 0;
             got = enet_host_check_events(host, &event)) {
            ++handled;
            auto* sink = static_cast<Sink*>(event.peer->data);
            if (event.type == ENET_EVENT_TYPE_CONNECT && sink) {
                enet_peer_throttle_configure(event.peer, ENET_PEER_PACKET_THROTTLE_INTERVAL,
                                             ENET_PEER_PACKET_THROTTLE_SCALE, 0);
                sink->OnConnected();
            } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                if (sink) sink->OnFrame(event.packet->data, event.packet->dataLength);
                enet_packet_destroy(event.packet);
            } else if (event.type == ENET_EVENT_TYPE_DISCONNECT && sink) {
                event.peer->data = nullptr;
                sink->OnDisconnected();
            }
        }
        if (handled < 256) break;
    }
    enet_host_flush(host);
}

}  // namespace qx::loadgen
