#pragma once

#include <memory>
#include <string>

#include "net/WebSocketMatchConnection.h"

namespace qx::net {

// The match server through a WebSocket owned by the script around the wasm
// module: the page's `WebSocket`, or under Node the class the host puts in
// `Module.qxWebSocket` (the npm `ws` package's). Binary type
// "arraybuffer"; each message is handed in through the exported
// qx_socket_* functions, and `Module.qxOnSocketActivity`, when the host
// sets it, is called after each (so the host can run its tick at once).
class JsWebSocket {
  public:
    // Starts connecting to `url` (ws://HOST:PORT/ws); the connection lives
    // until it is destroyed, whatever the socket does.
    static std::unique_ptr<WebSocketMatchConnection> Connect(const std::string& url,
                                                             const MatchRequest& request);
};

}  // namespace qx::net
