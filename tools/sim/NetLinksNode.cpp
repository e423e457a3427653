#include <emscripten.h>

#include "tools/sim/NetLinks.h"
#include "tools/sim/SleepingConnection.h"
#include "web/JsWebSocket.h"

namespace qx::sim {

std::unique_ptr<net::Transport> OpenDirectLink(const NetSimOptions&, std::string& error) {
    error = "network play by address needs the native simulator; here use --server";
    return nullptr;
}

std::unique_ptr<net::MatchConnection> ConnectToMatchServer(const std::string& host, uint16_t port,
                                                           const net::MatchRequest& request,
                                                           std::string&) {
    const std::string url = web::WebMatchConnection::UrlFor(host + ":" + std::to_string(port));
    return std::make_unique<SleepingConnection>(web::JsWebSocket::Connect(url, request),
                                                [](uint32_t ms) { emscripten_sleep(ms); });
}

bool ServerLinkKeepsAlive() {
    return false;
}

}  // namespace qx::sim
