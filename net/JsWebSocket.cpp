#include "net/JsWebSocket.h"

#include <emscripten.h>

#include <unordered_map>

#include "net/PacketCodec.h"

// The socket's script side. Sockets are kept by number in Module.qxSockets;
// a socket that C++ has let go of is silenced before it is closed, so no
// late event reaches a number used again. (Kept from clang-format, which
// would split the script's operators.)
// clang-format off
EM_JS(void, qx_js_socket_open, (int id, const char* url), {
    var sockets = Module.qxSockets || (Module.qxSockets = {});
    var Socket = Module.qxWebSocket || (typeof WebSocket != 'undefined' ? WebSocket : null);
    var ws = null;
    try {
        ws = new Socket(UTF8ToString(url));
    } catch (e) {
        ws = null;
    }
    var activity = function() {
        if (Module.qxOnSocketActivity) Module.qxOnSocketActivity();
    };
    if (!ws) {
        setTimeout(
            function() {
                _qx_socket_closed(id);
                activity();
            },
            0);
        return;
    }
    ws.binaryType = 'arraybuffer';
    sockets[id] = ws;
    ws.onopen = function() {
        if (sockets[id] != ws) return;
        _qx_socket_opened(id);
        activity();
    };
    ws.onmessage = function(event) {
        if (sockets[id] != ws || typeof event.data == 'string') return;
        var bytes = new Uint8Array(event.data);
        var at = _qx_socket_buffer(bytes.length);
        if (at) HEAPU8.set(bytes, at);
        _qx_socket_frame(id, bytes.length);
        activity();
    };
    ws.onclose = ws.onerror = function() {
        if (sockets[id] != ws) return;
        delete sockets[id];
        _qx_socket_closed(id);
        activity();
    };
});

EM_JS(void, qx_js_socket_send, (int id, const uint8_t* data, int size), {
    var ws = Module.qxSockets && Module.qxSockets[id];
    if (ws && ws.readyState == 1) ws.send(HEAPU8.slice(data, data + size));
});

EM_JS(void, qx_js_socket_close, (int id), {
    var ws = Module.qxSockets && Module.qxSockets[id];
    if (!ws) return;
    delete Module.qxSockets[id];
    ws.onopen = ws.onmessage = ws.onclose = ws.onerror = null;
    try {
        ws.close(1000);
    } catch (e) {
    }
});
// clang-format on

namespace qx::net {
namespace {

std::unordered_map<int, WebSocketMatchConnection*> connections;
int lastId = 0;
std::vector<uint8_t> incoming;

class ScriptSocket : public SocketPort {
  public:
    explicit ScriptSocket(int id) : id(id) {}
    ~ScriptSocket() override {
        connections.erase(id);
        qx_js_socket_close(id);
    }
    void Send(const std::vector<uint8_t>& frame) override {
        qx_js_socket_send(id, frame.data(), static_cast<int>(frame.size()));
    }
    void Close() override { qx_js_socket_close(id); }

  private:
    int id;
};

WebSocketMatchConnection* Find(int id) {
    auto it = connections.find(id);
    return it == connections.end() ? nullptr : it->second;
}

}  // namespace

std::unique_ptr<WebSocketMatchConnection> JsWebSocket::Connect(const std::string& url,
                                                               const MatchRequest& request) {
    const int id = ++lastId;
    auto connection =
        std::make_unique<WebSocketMatchConnection>(std::make_unique<ScriptSocket>(id), request);
    if (connection->Client().GetState() == MatchClient::State::Failed) return connection;
    connections[id] = connection.get();
    qx_js_socket_open(id, url.c_str());
    return connection;
}

extern "C" {

// Room for an incoming frame of `size` bytes; null for one too long for
// any frame (the script then hands in only its size, which is refused).
EMSCRIPTEN_KEEPALIVE uint8_t* qx_socket_buffer(int size) {
    if (size < 0 || static_cast<size_t>(size) > net::kMaxPacketSize) return nullptr;
    incoming.resize(static_cast<size_t>(size));
    return incoming.data();
}

EMSCRIPTEN_KEEPALIVE void qx_socket_opened(int id) {
    if (auto* connection = Find(id)) connection->Opened();
}

EMSCRIPTEN_KEEPALIVE void qx_socket_frame(int id, int size) {
    auto* connection = Find(id);
    if (!connection || size < 0) return;
    if (static_cast<size_t>(size) > net::kMaxPacketSize) {
        // Too long: the connection counts it without reading it.
        static const uint8_t none = 0;
        connection->Frame(&none, static_cast<size_t>(size));
        return;
    }
    connection->Frame(incoming.data(), static_cast<size_t>(size));
}

EMSCRIPTEN_KEEPALIVE void qx_socket_closed(int id) {
    if (auto* connection = Find(id)) connection->Closed("the server closed the connection");
}

}  // extern "C"

}  // namespace qx::net
