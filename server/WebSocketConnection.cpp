#include "server/WebSocketConnection.h"

#include <algorithm>
#include <boost/asio/buffer.hpp>
#include <chrono>

#include "net/MatchProtocol.h"
#include "net/PacketCodec.h"
#include "server/MatchServer.h"
#include "server/Metrics.h"

namespace qx::server {
namespace {

namespace beast = boost::beast;
namespace websocket = beast::websocket;

}  // namespace

WebSocketConnection::WebSocketConnection(ClientStream&& stream, WebContext& c, std::string address)
    : Connection(TransportKind::WebSocket, std::move(address), c.clock()),
      ws(std::move(stream)),
      context(c),
      keepAlive(ws.get_executor()) {}

void WebSocketConnection::Start(const beast::http::request<beast::http::empty_body>& request) {
    beast::get_lowest_layer(ws).expires_never();
    websocket::stream_base::timeout timeouts =
        websocket::stream_base::timeout::suggested(beast::role_type::server);
    timeouts.handshake_timeout = std::chrono::seconds(10);
    timeouts.idle_timeout = std::chrono::seconds(30);
    timeouts.keep_alive_pings = true;
    ws.set_option(timeouts);
    ws.read_message_max(net::kMaxPacketSize);
    ws.binary(true);
    ws.auto_fragment(false);
    ws.async_accept(request, [self = shared_from_this()](const boost::system::error_code& ec) {
        self->OnAccept(ec);
    });
}

void WebSocketConnection::OnAccept(const boost::system::error_code& ec) {
    if (ec) {
        Finish();
        return;
    }
    opened = true;
    lastSentMs = context.clock();
    context.server.OnOpen(*this, context.clock());
    Read();
    KeepAlive();
}

// A KeepAlive message once nothing else has gone out for kKeepAliveMs;
// the timer is set for when that would next be so.
void WebSocketConnection::KeepAlive() {
    if (finished || closing) return;
    const uint64_t now = context.clock();
    if (now - lastSentMs >= kKeepAliveMs) {
        net::MatchMessage message;
        message.type = net::MatchType::KeepAlive;
        const std::vector<uint8_t> frame = net::EncodeMatch(message);
        Send(frame.data(), frame.size(), true);
    }
    const uint64_t quiet = std::min(context.clock() - lastSentMs, kKeepAliveMs);
    keepAlive.expires_after(std::chrono::milliseconds(kKeepAliveMs - quiet + 1));
    keepAlive.async_wait([self = shared_from_this()](const boost::system::error_code& ec) {
        if (!ec) self->KeepAlive();
    });
}

void WebSocketConnection::Read() {
    ws.async_read(in, [self = shared_from_this()](const boost::system::error_code& ec,
                                                  size_t size) { self->OnRead(ec, size); });
}

void WebSocketConnection::OnRead(const boost::system::error_code& ec, size_t size) {
    if (ec) {
        if (ec == websocket::error::message_too_big)
            ++context.metrics.badPackets[Metrics::At(Kind())];
        Finish();
        return;
    }
    if (!finished && role != Role::Closing) {
        if (ws.got_binary()) {
            const auto* data = static_cast<const uint8_t*>(in.data().data());
            context.server.OnFrame(*this, data, size, context.clock());
        } else {
            // A text message is no frame of ours; counted as a bad one.
            static const uint8_t kNothing = 0;
            context.server.OnFrame(*this, &kNothing, 0, context.clock());
        }
    }
    in.consume(in.size());
    Read();
}

void WebSocketConnection::Send(const uint8_t* data, size_t size, bool reliable) {
    if (finished || closing) return;
    if (out.Bytes() + size > kMaxBacklog) {
        // The client has stopped reading: an input packet can go (a later
        // one repeats it), a reliable message cannot.
        if (!reliable) return;
        Close();
        return;
    }
    out.Push(data, size);
    lastSentMs = context.clock();
    if (!writing) Write();
}

void WebSocketConnection::Write() {
    writing = true;
    ws.async_write(boost::asio::buffer(out.Front()),
                   [self = shared_from_this()](const boost::system::error_code& ec, size_t) {
                       self->OnWrite(ec);
                   });
}

void WebSocketConnection::OnWrite(const boost::system::error_code& ec) {
    writing = false;
    out.Pop();
    if (ec) {
        Finish();
        return;
    }
    if (!out.Empty()) {
        Write();
    } else if (closing) {
        StartClose();
    }
}

void WebSocketConnection::Close() {
    if (closing || finished) return;
    closing = true;
    if (!writing) StartClose();
}

void WebSocketConnection::StartClose() {
    if (closeSent || finished || !opened) return;
    closeSent = true;
    beast::get_lowest_layer(ws).expires_after(std::chrono::seconds(5));
    ws.async_close(
        websocket::close_code::normal,
        [self = shared_from_this()](const boost::system::error_code&) { self->Finish(); });
}

void WebSocketConnection::Finish() {
    if (finished) return;
    finished = true;
    keepAlive.cancel();
    if (opened) context.server.OnClosed(*this, context.clock());
    context.server.ReleaseAddress(Address());
    boost::system::error_code ignored;
    beast::get_lowest_layer(ws).socket().close(ignored);
}

}  // namespace qx::server
