#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <boost/beast/websocket/teardown.hpp>
#include <memory>
#include <optional>
#include <utility>

namespace qx::server {

// A client's TCP connection, plain or inside TLS (decided when it is
// accepted), as one stream type for Beast's HTTP and WebSocket code. Its
// lowest layer is itself: timeouts and closing go to the TCP stream under
// the TLS, reading and writing through the TLS when there is one.
// (A TLS stream's first bytes are read plain, to tell TLS from a browser
// that came with http.)
class ClientStream {
  public:
    using Tls = boost::beast::ssl_stream<boost::beast::tcp_stream>;
    using executor_type = boost::beast::tcp_stream::executor_type;

    // Without `tls`, plain; with it, the handshake comes first (Handshake).
    ClientStream(boost::asio::ip::tcp::socket socket,
                 std::shared_ptr<boost::asio::ssl::context> tlsContext)
        : context(std::move(tlsContext)) {
        if (context) {
            tls = std::make_unique<Tls>(std::move(socket), *context);
        } else {
            plain.emplace(std::move(socket));
        }
    }
    ClientStream(ClientStream&&) = default;

    bool Secure() const { return tls != nullptr; }
    boost::beast::tcp_stream& Tcp() { return tls ? tls->next_layer() : *plain; }

    // Calls `handler(error_code, bytes used)` when the TLS handshake is
    // done, starting from what was already read into `buffers`.
    template <typename Buffers, typename Handler>
    void Handshake(const Buffers& buffers, Handler&& handler) {
        tls->async_handshake(boost::asio::ssl::stream_base::server, buffers,
                             std::forward<Handler>(handler));
    }

    // The stream as Beast and Asio use it.
    executor_type get_executor() { return Tcp().get_executor(); }
    template <typename Buffers, typename Handler>
    void async_read_some(const Buffers& buffers, Handler&& handler) {
        if (tls) {
            tls->async_read_some(buffers, std::forward<Handler>(handler));
        } else {
            plain->async_read_some(buffers, std::forward<Handler>(handler));
        }
    }
    template <typename Buffers, typename Handler>
    void async_write_some(const Buffers& buffers, Handler&& handler) {
        if (tls) {
            tls->async_write_some(buffers, std::forward<Handler>(handler));
        } else {
            plain->async_write_some(buffers, std::forward<Handler>(handler));
        }
    }
    template <typename Duration>
    void expires_after(Duration duration) {
        Tcp().expires_after(duration);
    }
    void expires_never() { Tcp().expires_never(); }
    boost::asio::ip::tcp::socket& socket() { return Tcp().socket(); }

    friend void beast_close_socket(ClientStream& stream) {
        boost::system::error_code ignored;
        stream.socket().close(ignored);
    }
    // A WebSocket's end: TLS's close_notify first when there is TLS.
    friend void teardown(boost::beast::role_type role, ClientStream& stream,
                         boost::system::error_code& ec) {
        using boost::beast::websocket::teardown;
        if (stream.tls) {
            teardown(role, *stream.tls, ec);
        } else {
            teardown(role, *stream.plain, ec);
        }
    }
    template <typename Handler>
    friend void async_teardown(boost::beast::role_type role, ClientStream& stream,
                               Handler&& handler) {
        using boost::beast::websocket::async_teardown;
        if (stream.tls) {
            async_teardown(role, *stream.tls, std::forward<Handler>(handler));
        } else {
            async_teardown(role, *stream.plain, std::forward<Handler>(handler));
        }
    }

  private:
    // Kept while the connection lives: a reloaded certificate makes a new
    // context for new connections only.
    std::shared_ptr<boost::asio::ssl::context> context;
    std::optional<boost::beast::tcp_stream> plain;
    std::unique_ptr<Tls> tls;
};

}  // namespace qx::server
