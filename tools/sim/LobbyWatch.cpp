// The simulator's lobby watcher over ENet (native builds).
#include <enet/enet.h>

#include <chrono>
#include <vector>

#include "net/EnetPeerLink.h"
#include "tools/sim/LobbyPrinter.h"
#include "tools/sim/NetLinks.h"

namespace qx::sim {
namespace {

constexpr uint32_t kConnectMs = 5000;
constexpr uint32_t kServiceMs = 50;

// What one frame from the server means for the watcher: a copy printed,
// a refusal, or nothing of interest.
enum class Heard { Nothing, Printed, Refused };

Heard OnFrame(const uint8_t* data, size_t size, std::ostream& out, std::ostream& log) {
    net::MatchMessage message;
    const char* error = nullptr;
    if (!net::DecodeMatch(data, size, message, error)) return Heard::Nothing;
    if (message.type == net::MatchType::Error) {
        log << "quarnex-sim: the server refused: " << net::MatchErrorText(message.error) << '\n';
        return Heard::Refused;
    }
    if (message.type != net::MatchType::Lobby) return Heard::Nothing;
    out << FormatLobby(message.lobby) << std::flush;
    return Heard::Printed;
}

}  // namespace

int PrintLobby(const std::string& hostName, uint16_t port, int64_t updates, std::ostream& out,
               std::ostream& log) {
    ENetAddress address{};
    if (!net::InitializeEnet() || hostName.empty() ||
        enet_address_set_host(&address, hostName.c_str()) != 0) {
        log << "quarnex-sim: unknown host '" << hostName << "'\n";
        return 3;
    }
    address.port = port;
    ENetHost* host = enet_host_create(nullptr, 1, net::kEnetChannels, 0, 0);
    ENetPeer* peer =
        host ? enet_host_connect(host, &address, net::kEnetChannels, net::kMatchConnectData)
             : nullptr;
    if (!peer) {
        if (host) enet_host_destroy(host);
        log << "quarnex-sim: cannot open a UDP socket\n";
        return 3;
    }
    CatchStopSignals();
    const auto started = std::chrono::steady_clock::now();
    bool connected = false;
    int64_t printed = 0;
    int status = -1;
    while (status < 0 && !StopSignalled()) {
        ENetEvent event;
        if (enet_host_service(host, &event, kServiceMs) > 0) {
            if (event.type == ENET_EVENT_TYPE_CONNECT) {
                connected = true;
                net::MatchMessage ask;
                ask.type = net::MatchType::WatchLobby;
                net::SendToPeer(host, peer, net::EncodeMatch(ask), true);
            } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                const Heard heard = OnFrame(event.packet->data, event.packet->dataLength, out, log);
                enet_packet_destroy(event.packet);
                if (heard == Heard::Refused) status = 3;
                if (heard == Heard::Printed && ++printed > updates) status = 0;
            } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
                peer = nullptr;
                log << "quarnex-sim: the server closed the connection\n";
                status = 3;
            }
        }
        if (!connected &&
            std::chrono::steady_clock::now() - started > std::chrono::milliseconds(kConnectMs)) {
            log << "quarnex-sim: the server cannot be reached\n";
            status = 3;
        }
    }
    if (peer) net::LeavePeer(host, peer, 0, 200);
    enet_host_destroy(host);
    return status < 0 ? 0 : status;
}

}  // namespace qx::sim
