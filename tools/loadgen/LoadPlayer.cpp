#include "tools/loadgen/LoadPlayer.h"

#include "net/PacketCodec.h"

namespace qx::loadgen {

LoadPlayer::LoadPlayer(boost::asio::io_context& io, EnetClientHost& enetHost, bool webSocket,
                       const std::string& host, uint16_t port, const net::MatchRequest& request,
                       Clock c, Latency l)
    : clock(std::move(c)),
      latency(std::move(l)),
      side(request.kind == net::MatchRequest::Kind::Create ? net::NetSide::Emperor
                                                           : net::NetSide::Rebel),
      inputs(side, port + (webSocket ? 1 : 2)) {
    if (webSocket) {
        ws = std::make_unique<WsTransport>(io, host, port, request, false);
        ws->OnEvent([this] { Drain(); });
        transport = ws.get();
    } else {
        enet = std::make_unique<EnetLink>(enetHost, host, port, request);
        enet->OnEvent([this] { Drain(); });
        transport = enet.get();
    }
}

LoadPlayer::~LoadPlayer() = default;

net::MatchClient::State LoadPlayer::State() {
    return Client().GetState();
}

const net::MatchClient& LoadPlayer::Client() const {
    return enet ? enet->Client() : ws->Client();
}

void LoadPlayer::Drain() {
    if (!transport || State() != net::MatchClient::State::InRoom) return;
    std::vector<uint8_t> data;
    for (int n = 0; n < 256; ++n) {
        const net::LinkEvent event = transport->Poll(data);
        if (event == net::LinkEvent::None) break;
        if (event == net::LinkEvent::Connected && side == net::NetSide::Rebel) {
            transport->Send(net::EncodePacket(net::HelloPacket{0}), true);
        } else if (event == net::LinkEvent::Disconnected) {
            left = true;
        } else if (event == net::LinkEvent::Received) {
            OnPacket(data);
        }
    }
}

void LoadPlayer::OnPacket(const std::vector<uint8_t>& bytes) {
    net::Packet packet;
    const char* error = nullptr;
    if (!net::DecodePacket(bytes.data(), bytes.size(), packet, error)) return;
    if (std::holds_alternative<net::HelloPacket>(packet) && side == net::NetSide::Emperor) {
        const uint32_t seed = Client().Answer().seed;
        transport->Send(net::EncodePacket(net::StartPacket{seed, net::NetSide::Emperor, 0}), true);
        started = true;
    } else if (std::holds_alternative<net::StartPacket>(packet)) {
        started = true;
    } else if (const auto* p = std::get_if<net::InputPacket>(&packet)) {
        ++received;
        if (other && other->SentInWindow(p->sequence)) ++receivedInWindow;
        if (other) latency(clock() - other->SentAt(p->sequence));
        remoteTick = std::max(remoteTick, p->currentTick);
    }
}

void LoadPlayer::SendTick() {
    if (!started || left || !transport) return;
    net::InputPacket p;
    p.sequence = ++sequence;
    p.ack = remoteTick;
    p.currentTick = ++tick;
    p.firstTick = tick;
    p.inputs.push_back(inputs.InputsFor(tick));
    const std::vector<uint8_t> bytes = net::EncodePacket(p);
    sentAt[sequence % sentAt.size()] = clock();
    const bool measured = window && *window;
    sentInWindowAt[sequence % sentInWindowAt.size()] = measured;
    transport->Send(bytes, false);
    ++sent;
    sentInWindow += measured ? 1 : 0;
}

}  // namespace qx::loadgen
