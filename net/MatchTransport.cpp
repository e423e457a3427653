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
constexpr size_t kMaxPending = 1024;
// ENet's own give-up times; the game judges the other side by its packets
// (5 s of silence), so ENet's are well above that.
constexpr uint32_t kEnetTimeoutMinMs = 10'000;
constexpr uint32_t kEnetTimeoutMaxMs = 20'000;
// The largest frame a client accepts from the server (a feed frame).
constexpr size_t kMaxFrame = kMaxPacketSize;

bool InitializeEnet() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] {
        ok = enet_initialize() == 0;
        if (ok) std::atexit(enet_deinitialize);
    });
    return ok;
}

MatchMessage RequestMessage(const MatchRequest& r) {
    MatchMessage m;
    switch (r.kind) {
        case MatchRequest::Kind::Create:
            m.type = MatchType::Create;
            m.side = r.side;
            m.hasSeed = r.hasSeed;
            m.seed = r.seed;
            m.ticks = r.ticks;
            break;
        case MatchRequest::Kind::Quick:
            m.type = MatchType::Quick;
            m.ticks = r.ticks;
            break;
        case MatchRequest::Kind::Join:
            m.type = MatchType::Join;
            m.code = NormalizeCode(r.code);
            break;
        case MatchRequest::Kind::Watch:
            m.type = MatchType::Watch;
            m.code = NormalizeCode(r.code);
            break;
    }
    return m;
}

}  // namespace

MatchTransport::MatchTransport(ENetHost* h, const MatchRequest& r)
    : host(h), request(r), startedAt(std::chrono::steady_clock::now()) {
    host->maximumPacketSize = kMaxFrame;
    host->maximumWaitingData = 256 * 1024;
}

MatchTransport::~MatchTransport() {
    if (peer) enet_peer_disconnect_now(peer, 0);
    if (host) enet_host_destroy(host);
}

std::unique_ptr<MatchTransport> MatchTransport::Connect(const std::string& hostName,
                                                        uint16_t port,
                                                        const MatchRequest& request,
                                                        std::string& error) {
    const bool needsCode =
        request.kind == MatchRequest::Kind::Join || request.kind == MatchRequest::Kind::Watch;
    if (needsCode && NormalizeCode(request.code).empty()) {
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
    std::unique_ptr<MatchTransport> transport(new MatchTransport(host, request));
    transport->peer = enet_host_connect(host, &address, kChannels, kMatchConnectData);
    if (!transport->peer) {
        error = "cannot start connecting to " + hostName;
        return nullptr;
    }
    enet_peer_timeout(transport->peer, 0, kEnetTimeoutMinMs, kEnetTimeoutMaxMs);
    return transport;
}

MatchTransport::State MatchTransport::Update(uint32_t ms) {
    if (state == State::Connecting || state == State::Asking) {
        Service(ms);
        const auto waited = std::chrono::steady_clock::now() - startedAt;
        if ((state == State::Connecting || state == State::Asking) &&
            waited > std::chrono::milliseconds(kConnectMs)) {
            Fail(state == State::Connecting ? "the server does not answer"
                                            : "the server gives no room");
        }
    }
    return state;
}

void MatchTransport::Fail(const std::string& why) {
    state = State::Failed;
    if (failure.empty()) failure = why;
    if (peer) {
        enet_peer_disconnect_now(peer, 0);
        peer = nullptr;
    }
}

void MatchTransport::Push(LinkEvent event, std::vector<uint8_t> data) {
    if (pending.size() < kMaxPending || event != LinkEvent::Received) {
        pending.push_back({event, std::move(data)});
    }
}

void MatchTransport::Service(uint32_t ms) {
    if (!host) return;
    ENetEvent event;
    int got = enet_host_service(host, &event, ms);
    while (got > 0) {
        switch (event.type) {
            case ENET_EVENT_TYPE_CONNECT: {
                state = State::Asking;
                enet_peer_throttle_configure(peer, ENET_PEER_PACKET_THROTTLE_INTERVAL,
                                             ENET_PEER_PACKET_THROTTLE_SCALE, 0);
                const std::vector<uint8_t> bytes = EncodeMatch(RequestMessage(request));
                Send(bytes, true);
                break;
            }
            case ENET_EVENT_TYPE_RECEIVE:
                if (event.packet->dataLength > kMaxFrame) {
                    ++oversized;
                } else {
                    OnFrame(event.packet->data, event.packet->dataLength);
                }
                enet_packet_destroy(event.packet);
                break;
            case ENET_EVENT_TYPE_DISCONNECT:
                peer = nullptr;
                if (state == State::InRoom) {
                    Push(LinkEvent::Disconnected);
                } else {
                    Fail(state == State::Connecting ? "the server cannot be reached"
                                                    : "the server closed the connection");
                }
                break;
            case ENET_EVENT_TYPE_NONE:
                break;
        }
        got = enet_host_check_events(host, &event);
    }
}

void MatchTransport::OnFrame(const uint8_t* data, size_t size) {
    if (IsGameFrame(data, size)) {
        if (state == State::InRoom) Push(LinkEvent::Received, {data, data + size});
        return;
    }
    if (!IsMatchFrame(data, size)) {
        ++oversized;  // nothing the server sends
        return;
    }
    if (data[3] == static_cast<uint8_t>(MatchType::Feed)) {
        if (state == State::InRoom && Spectating()) Push(LinkEvent::Received, {data, data + size});
        return;
    }
    MatchMessage message;
    const char* error = nullptr;
    if (DecodeMatch(data, size, message, error)) OnControl(message);
}

void MatchTransport::OnControl(const MatchMessage& m) {
    switch (m.type) {
        case MatchType::Created:
        case MatchType::Joined:
        case MatchType::Watching:
            if (state != State::Asking) return;
            answer = m;
            state = State::InRoom;
            if (m.type != MatchType::Created) Push(LinkEvent::Connected);
            break;
        case MatchType::PeerJoined:
            if (state == State::InRoom && Hosting()) Push(LinkEvent::Connected);
            break;
        case MatchType::PeerLeft:
        case MatchType::Ended:
            if (state == State::InRoom) Push(LinkEvent::Disconnected);
            break;
        case MatchType::Error:
            if (state != State::Asking) return;
            refused = true;
            refusal = m.error;
            Fail(std::string("the server refused: ") + MatchErrorText(m.error));
            break;
        default:
            break;
    }
}

LinkEvent MatchTransport::Poll(std::vector<uint8_t>& data) {
    if (pending.empty()) Service(0);
    if (pending.empty()) return LinkEvent::None;
    Pending next = std::move(pending.front());
    pending.pop_front();
    data = std::move(next.data);
    return next.event;
}

void MatchTransport::Send(const std::vector<uint8_t>& data, bool reliable) {
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

void MatchTransport::Wait(uint32_t ms) {
    if (pending.empty()) Service(ms);
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
