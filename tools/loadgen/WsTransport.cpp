#include "tools/loadgen/WsTransport.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/websocket/stream.hpp>
#include <chrono>
#include <deque>

#include "net/PacketCodec.h"

namespace qx::loadgen {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

constexpr auto kConnectTimeout = std::chrono::seconds(5);

}  // namespace

struct WsTransport::Impl : std::enable_shared_from_this<Impl> {
    Impl(asio::io_context& io) : resolver(io), ws(io) {}

    void Start(const std::string& host, uint16_t port) {
        beast::get_lowest_layer(ws).expires_after(kConnectTimeout);
        resolver.async_resolve(
            host, std::to_string(port),
            [self = shared_from_this(), host](const boost::system::error_code& ec,
                                              const tcp::resolver::results_type& results) {
                if (ec) return self->Closed("unknown host '" + host + "'");
                beast::get_lowest_layer(self->ws).async_connect(
                    results,
                    [self, host](const boost::system::error_code& ec2, const tcp::endpoint&) {
                        if (ec2) return self->Closed("the server cannot be reached");
                        self->Handshake(host);
                    });
            });
    }

    void Handshake(const std::string& host) {
        beast::get_lowest_layer(ws).socket().set_option(tcp::no_delay(true));
        ws.read_message_max(net::kMaxPacketSize);
        ws.binary(true);
        ws.async_handshake(host, "/ws",
                           [self = shared_from_this()](const boost::system::error_code& ec) {
                               if (ec) return self->Closed("the server does not speak WebSocket");
                               beast::get_lowest_layer(self->ws).expires_never();
                               std::vector<uint8_t> request = self->client.OnConnected();
                               self->Queue(std::move(request));
                               self->Read();
                               self->Notify();
                           });
    }

    void Read() {
        ws.async_read(
            in, [self = shared_from_this()](const boost::system::error_code& ec, size_t size) {
                if (ec) return self->Closed("the server closed the connection");
                self->received += size;
                self->client.OnFrame(static_cast<const uint8_t*>(self->in.data().data()), size);
                self->in.consume(self->in.size());
                self->Notify();
                self->Read();
            });
    }

    void Queue(std::vector<uint8_t> frame) {
        if (closed || closing || frame.empty()) return;
        out.push_back(std::move(frame));
        if (!writing) Write();
    }

    void Write() {
        writing = true;
        ws.async_write(
            asio::buffer(out.front()),
            [self = shared_from_this()](const boost::system::error_code& ec, size_t size) {
                self->writing = false;
                self->sent += size;
                self->out.pop_front();
                if (ec) return self->Closed("the connection to the server broke");
                if (!self->out.empty()) {
                    self->Write();
                } else if (self->closing) {
                    self->Shut();
                }
            });
    }

    // Sends the WebSocket close once everything queued has gone.
    void Shut() {
        if (closed) return;
        closed = true;
        ws.async_close(websocket::close_code::normal,
                       [self = shared_from_this()](const boost::system::error_code&) {});
    }

    void Closed(const std::string& why) {
        if (closed) return;
        closed = true;
        client.OnClosed(why);
        Notify();
    }

    void Notify() {
        if (onEvent) onEvent();
    }

    tcp::resolver resolver;
    websocket::stream<beast::tcp_stream> ws;
    beast::flat_buffer in;
    std::deque<std::vector<uint8_t>> out;
    net::MatchClient client;
    std::function<void()> onEvent;
    uint64_t sent = 0;
    uint64_t received = 0;
    bool writing = false;
    bool closing = false;
    bool closed = false;
};

WsTransport::WsTransport(asio::io_context& context, const std::string& host, uint16_t port,
                         const net::MatchRequest& request, bool d)
    : io(context), drive(d), impl(std::make_shared<Impl>(context)) {
    impl->client.SetRequest(request);
    impl->Start(host, port);
}

WsTransport::~WsTransport() {
    impl->onEvent = nullptr;
    impl->closed = true;
    boost::system::error_code ignored;
    beast::get_lowest_layer(impl->ws).socket().close(ignored);
    if (!drive) return;
    // The handlers the close completes run now; whatever they throw is of no
    // use to anyone once the transport is gone, and must not end the program.
    try {
        Run(0);
    } catch (...) {
    }
}

void WsTransport::Run(uint32_t ms) {
    if (io.stopped()) io.restart();
    if (ms == 0) {
        io.poll();
    } else {
        io.run_for(std::chrono::milliseconds(ms));
    }
}

WsTransport::State WsTransport::Update(uint32_t ms) {
    if (drive) Run(ms);
    return impl->client.GetState();
}

const net::MatchClient& WsTransport::Client() const {
    return impl->client;
}

void WsTransport::OnEvent(std::function<void()> callback) {
    impl->onEvent = std::move(callback);
}

net::LinkEvent WsTransport::Poll(std::vector<uint8_t>& data) {
    if (drive && !impl->client.HasEvent()) Run(0);
    return impl->client.Next(data);
}

void WsTransport::Send(const std::vector<uint8_t>& data, bool) {
    impl->Queue(data);
    if (drive) Run(0);
}

void WsTransport::Wait(uint32_t ms) {
    if (drive && !impl->client.HasEvent()) Run(ms);
}

void WsTransport::Close(uint32_t lingerMs) {
    if (impl->closed || impl->closing) return;
    impl->closing = true;
    beast::get_lowest_layer(impl->ws).expires_after(std::chrono::milliseconds(lingerMs + 1));
    if (!impl->writing) impl->Shut();
    if (drive) Run(lingerMs);
}

uint64_t WsTransport::BytesSent() const {
    return impl->sent;
}

uint64_t WsTransport::BytesReceived() const {
    return impl->received;
}

}  // namespace qx::loadgen
