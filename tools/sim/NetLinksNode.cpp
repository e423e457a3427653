#include <emscripten.h>

#include "net/JsWebSocket.h"
#include "tools/sim/NetLinks.h"
#include "tools/sim/SleepingConnection.h"

namespace qx::sim {

std::unique_ptr<net::Transport> OpenDirectLink(const NetSimOptions&, std::string& error) {
    error = "network play by address needs the native simulator; here use --server";
    return nullptr;
}

std::unique_ptr<net::MatchConnection> ConnectToMatchServer(const std::string& host, uint16_t port,
                                                           const net::MatchRequest& request,
                                                           std::string&) {
    const std::string url =
        net::WebSocketMatchConnection::UrlFor(host + ":" + std::to_string(port));
    return std::make_unique<SleepingConnection>(net::JsWebSocket::Connect(url, request),
                                                [](uint32_t ms) { emscripten_sleep(ms); });
}

bool ServerLinkKeepsAlive() {
    return false;
}

// Node's signals reach the program while it sleeps in a wait (Asyncify).
EM_JS(void, qx_catch_stop_signals, (), {
    if (typeof process == 'undefined') return;
    var stop = function() {
        Module['qxStopSignalled'] = 1;
    };
    process.on('SIGTERM', stop);
    process.on('SIGINT', stop);
});

EM_JS(int, qx_stop_signalled, (), { return Module['qxStopSignalled'] ? 1 : 0; });

void CatchStopSignals() {
    qx_catch_stop_signals();
}

bool StopSignalled() {
    return qx_stop_signalled() != 0;
}

}  // namespace qx::sim
