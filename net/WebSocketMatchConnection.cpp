#include "net/WebSocketMatchConnection.h"

#include <chrono>

#include "net/PacketCodec.h"

namespace qx::net {
namespace {

uint64_t SteadyMs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

}  // namespace

WebSocketMatchConnection::WebSocketMatchConnection(std::unique_ptr<SocketPort> socket,
                                                   const MatchRequest& request, Clock now)
    : port(std::move(socket)), clock(now ? std::move(now) : Clock(SteadyMs)) {
    startedAt = clock();
    client.SetRequest(request);
    if (request.Encode().empty()) {
        client.Fail("'" + request.code + "' is no invite code (8 letters and digits)",
                    MatchClient::Fault::BadCode);
        Shut();
    }
}

std::string WebSocketMatchConnection::UrlFor(const std::string& server) {
    if (server.rfind("ws://", 0) == 0 || server.rfind("wss://", 0) == 0) return server;
    return "ws://" + server + "/ws";
}

void WebSocketMatchConnection::Opened() {
    if (!port) return;
    open = true;
    for (const std::vector<uint8_t>& frame : client.Greeting()) Send(frame, true);
}

void WebSocketMatchConnection::Frame(const uint8_t* data, size_t size) {
    if (!port) return;
    received += size;
    if (size > net::kMaxPacketSize) {
        ++oversized;
        return;
    }
    client.OnFrame(data, size);
}

void WebSocketMatchConnection::Closed(const std::string& why) {
    if (!port) return;
    const bool reached = open;
    open = false;
    port.reset();
    client.OnClosed(reached ? why : "the server cannot be reached");
}

bool WebSocketMatchConnection::Asking() const {
    return client.GetState() == State::Connecting || client.GetState() == State::Asking;
}

WebSocketMatchConnection::State WebSocketMatchConnection::Update(uint32_t) {
    if (Asking() && clock() - startedAt > kConnectMs) {
        const bool connecting = client.GetState() == State::Connecting;
        client.Fail(connecting ? "the server cannot be reached" : "the server gives no room",
                    connecting ? MatchClient::Fault::Unreachable : MatchClient::Fault::NoAnswer);
    }
    if (client.GetState() == State::Failed && port) Shut();
    return client.GetState();
}

LinkEvent WebSocketMatchConnection::Poll(std::vector<uint8_t>& data) {
    return client.Next(data);
}

void WebSocketMatchConnection::Send(const std::vector<uint8_t>& data, bool) {
    // A WebSocket is one ordered, reliable stream: inputs and control
    // messages go the same way.
    if (data.empty() || !open || !port) return;
    sent += data.size();
    port->Send(data);
}

void WebSocketMatchConnection::Wait(uint32_t) {
    // Frames arrive between the page's callbacks, never during one.
}

void WebSocketMatchConnection::Close(uint32_t) {
    Shut();
}

void WebSocketMatchConnection::Shut() {
    if (!port) return;
    port->Close();
    port.reset();
    open = false;
}

}  // namespace qx::net
