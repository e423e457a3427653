#include "server/EnetEndpoint.h"

#include <enet/enet.h>

#include <algorithm>
#include <boost/asio/post.hpp>
#include <chrono>

#include "net/EnetPeerLink.h"
#include "net/MatchProtocol.h"
#include "net/PacketCodec.h"
#include "server/EnetConnection.h"
#include "server/HalfOpenGuard.h"
#include "server/MatchServer.h"

namespace qx::server {
namespace {

constexpr auto kServiceInterval = std::chrono::milliseconds(5);
// Events handled per wake-up at most, so the WebSocket side gets its turn.
constexpr int kMaxEventsPerService = 2048;
constexpr int kSocketBuffer = 4 << 20;
constexpr auto kMinPassGap = std::chrono::microseconds(1000);
// ENet reads at most this many datagrams in one pass.
constexpr int kDatagramsPerRead = 256;
constexpr int kMaxPasses = 8;
// Free peer slots ENet is shown beyond the highest one in use.
constexpr size_t kPeerMargin = 256;

std::string AddressText(const ENetAddress& address) {
    char text[64] = "?";
    enet_address_get_host_ip(&address, text, sizeof text);
    return text;
}

}  // namespace

EnetEndpoint::EnetEndpoint(boost::asio::io_context& context, MatchServer& s,
                           std::function<uint64_t()> c)
    : io(context),
      server(s),
      clock(std::move(c)),
      socket(context),
      timer(context),
      passTimer(context) {}

EnetEndpoint::~EnetEndpoint() {
    server.CountPending(nullptr);
    if (socket.is_open()) socket.release();  // ENet closes its own socket
    if (!host) return;
    host->peerCount = kMaxPeers;
    for (size_t i = 0; i < host->peerCount; ++i) {
        delete static_cast<EnetConnection*>(host->peers[i].data);
        host->peers[i].data = nullptr;
    }
    halfOpen.reset();
    enet_host_destroy(host);
}

bool EnetEndpoint::Open(const std::string& bindAddress, uint16_t port, std::string& error) {
    if (!net::InitializeEnet()) {
        error = "ENet cannot start";
        return false;
    }
    ENetAddress address{};
    address.port = port;
    if (bindAddress.empty()) {
        address.host = ENET_HOST_ANY;
    } else if (enet_address_set_host_ip(&address, bindAddress.c_str()) != 0) {
        error = "bad address to bind: " + bindAddress;
        return false;
    }
    host = enet_host_create(&address, kMaxPeers, net::kEnetChannels, 0, 0);
    if (!host) {
        error = "cannot listen on UDP port " + std::to_string(port);
        return false;
    }
    // Room for a burst of datagrams while the loop is busy elsewhere (the
    // system caps it at net.core.rmem_max / wmem_max).
    enet_socket_set_option(host->socket, ENET_SOCKOPT_RCVBUF, kSocketBuffer);
    enet_socket_set_option(host->socket, ENET_SOCKOPT_SNDBUF, kSocketBuffer);
    // ENet keeps no more peers of one address, half-open ones included, than
    // the server admits connections from it: a flood of connects that never
    // finish takes that address's places only.
    host->duplicatePeers = server.Limits().maxConnectionsPerAddress;
    // Connects that are never finished, from any number of forged sources,
    // take a bounded share of the table for a short while.
    halfOpen = std::make_unique<HalfOpenGuard>(*host, kMaxPeers);
    server.CountPending([this](const std::string& text) { return HalfOpen(text); });
    host->maximumPacketSize = net::kMaxPacketSize;
    host->maximumWaitingData = 64 * 1024;
    socket.assign(static_cast<int>(host->socket));
    return true;
}

// Peers of the address that ENet holds but the server has not admitted
// yet: connects in their handshake (and one whose connect event is being
// handled, unless it is the one asking).
size_t EnetEndpoint::HalfOpen(const std::string& text) const {
    ENetAddress address{};
    if (!host || enet_address_set_host_ip(&address, text.c_str()) != 0) return 0;
    size_t count = 0;
    for (size_t i = 0; i < host->peerCount; ++i) {
        const ENetPeer& peer = host->peers[i];
        if (peer.address.host == address.host && !peer.data && &peer != admitting &&
            peer.state >= ENET_PEER_STATE_ACKNOWLEDGING_CONNECT &&
            peer.state <= ENET_PEER_STATE_CONNECTED) {
            ++count;
        }
    }
    return count;
}

void EnetEndpoint::Start() {
    OnTimer();
}

void EnetEndpoint::Stop() {
    stopped = true;
    timer.cancel();
    passTimer.cancel();
    if (socket.is_open()) socket.cancel();
    if (!host) return;
    host->peerCount = kMaxPeers;
    for (size_t i = 0; i < host->peerCount; ++i) {
        if (host->peers[i].state == ENET_PEER_STATE_CONNECTED) {
            enet_peer_disconnect(&host->peers[i], 0);
        }
    }
    enet_host_flush(host);
}

void EnetEndpoint::ScheduleFlush() {
    Kick();
}

// Each pass of ENet over its peers costs time for every peer, so passes are
// at least kMinPassGap apart: under load one pass takes all that came in
// the meantime; when little comes it runs at once.
void EnetEndpoint::Kick() {
    if (passPending || stopped) return;
    passPending = true;
    const auto now = std::chrono::steady_clock::now();
    const auto due = lastPass + kMinPassGap;
    if (now >= due) {
        boost::asio::post(io, [this] { Pass(); });
        return;
    }
    passTimer.expires_at(due);
    passTimer.async_wait([this](const boost::system::error_code& ec) {
        if (!ec) Pass();
    });
}

void EnetEndpoint::Pass() {
    passPending = false;
    if (!stopped) Service();
}

// One wait on the socket at a time, armed as each pass begins to read: Asio
// watches the socket edge-triggered, so a datagram that comes while ENet
// reads finds the wait in place and brings the next pass. Between a wake-up
// and its pass nothing waits, so datagrams coming meanwhile wake no one:
// under load the loop wakes once a pass, not once a datagram.
void EnetEndpoint::Watch() {
    if (watching) return;
    watching = true;
    socket.async_wait(boost::asio::posix::stream_descriptor::wait_read,
                      [this](const boost::system::error_code& ec) {
                          watching = false;
                          if (ec || stopped) return;
                          Kick();
                      });
}

// ENet goes over every peer slot it has, in use or not, three times a pass.
// It gives a new peer the lowest free slot, so the slots in use are the low
// ones: ENet is shown those and a margin for new connects, which grows as
// they fill (measured again every few milliseconds; a connect finding no
// free slot is dropped, and the client tries again).
void EnetEndpoint::FitPeers() {
    size_t used = 0;
    for (size_t i = 0; i < kMaxPeers; ++i) {
        if (host->peers[i].state != ENET_PEER_STATE_DISCONNECTED) used = i + 1;
    }
    host->peerCount = std::min(kMaxPeers, used + std::max(kPeerMargin, used / 4));
}

void EnetEndpoint::OnTimer() {
    halfOpen->Sweep();
    FitPeers();
    if (std::chrono::steady_clock::now() - lastPass >= kServiceInterval) Service();
    timer.expires_after(kServiceInterval);
    timer.async_wait([this](const boost::system::error_code& ec) {
        if (!ec && !stopped) OnTimer();
    });
}

// One pass of ENet: it sends what waits, reads up to 256 datagrams and
// hands out their events; another pass only when that many came; then what
// the events made the server send goes out in one flush. The socket's wait
// is armed first, so nothing that comes during the reading goes unnoticed.
void EnetEndpoint::Service() {
    Watch();
    lastPass = std::chrono::steady_clock::now();
    // The events of one pass came in together: one reading of the clock.
    const uint64_t now = clock();
    ENetEvent event;
    int handled = 0;
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        int got = enet_host_service(host, &event, 0);
        const int before = handled;
        while (got > 0 && handled < kMaxEventsPerService) {
            Handle(event, now);
            ++handled;
            got = enet_host_check_events(host, &event);
        }
        if (handled - before < kDatagramsPerRead) break;
    }
    enet_host_flush(host);
}

void EnetEndpoint::Handle(const ENetEvent& event, uint64_t now) {
    ENetPeer* peer = event.peer;
    switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT: {
            const std::string address = AddressText(peer->address);
            admitting = peer;
            const bool admitted =
                event.data == net::kMatchConnectData && server.AdmitAddress(address);
            admitting = nullptr;
            if (!admitted) {
                enet_peer_disconnect_now(peer, 0);
                break;
            }
            enet_peer_timeout(peer, 1024, 10'000, 30'000);
            enet_peer_throttle_configure(peer, ENET_PEER_PACKET_THROTTLE_INTERVAL,
                                         ENET_PEER_PACKET_THROTTLE_SCALE, 0);
            auto* c = new EnetConnection(*this, peer, address, now);
            peer->data = c;
            server.OnOpen(*c, now);
            break;
        }
        case ENET_EVENT_TYPE_RECEIVE: {
            ENetPacket* packet = event.packet;
            if (auto* c = static_cast<EnetConnection*>(peer->data)) {
                server.OnFrame(*c, packet->data, packet->dataLength, now);
            }
            enet_packet_destroy(packet);
            break;
        }
        case ENET_EVENT_TYPE_DISCONNECT:
            if (auto* c = static_cast<EnetConnection*>(peer->data)) {
                peer->data = nullptr;
                server.OnClosed(*c, now);
                server.ReleaseAddress(c->Address());
                delete c;
            }
            break;
        case ENET_EVENT_TYPE_NONE:
            break;
    }
}

}  // namespace qx::server
