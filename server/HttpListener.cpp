#include "server/HttpListener.h"

#include <algorithm>
#include <boost/asio/ip/v6_only.hpp>
#include <memory>

#include "server/ClientAddress.h"
#include "server/HttpSession.h"
#include "server/MatchServer.h"
#include "server/Metrics.h"

namespace qx::server {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

HttpListener::HttpListener(asio::io_context& io, WebContext& c, bool metrics)
    : acceptor(io), context(c), metricsOnly(metrics) {}

bool HttpListener::Open(const std::string& bindAddress, uint16_t port, std::string& error) {
    boost::system::error_code ec;
    if (bindAddress.empty()) {
        // Every address: IPv6 with IPv4 on the same socket, or IPv4 alone
        // where the system has no IPv6.
        if (!Listen(tcp::endpoint(asio::ip::address_v6::any(), port), true, ec))
            Listen(tcp::endpoint(asio::ip::address_v4::any(), port), false, ec);
    } else {
        const asio::ip::address address = asio::ip::make_address(bindAddress, ec);
        if (ec) {
            error = "bad address to bind: " + bindAddress;
            return false;
        }
        Listen(tcp::endpoint(address, port), false, ec);
    }
    if (ec) {
        error = "cannot listen on TCP port " + std::to_string(port) + ": " + ec.message();
        return false;
    }
    return true;
}

bool HttpListener::Listen(const tcp::endpoint& endpoint, bool dualStack,
                          boost::system::error_code& ec) {
    ec.clear();
    acceptor.open(endpoint.protocol(), ec);
    if (!ec && dualStack) acceptor.set_option(asio::ip::v6_only(false), ec);
    if (!ec) acceptor.set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec) acceptor.bind(endpoint, ec);
    if (!ec) acceptor.listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        boost::system::error_code ignored;
        acceptor.close(ignored);
        return false;
    }
    return true;
}

uint16_t HttpListener::Port() const {
    boost::system::error_code ec;
    return acceptor.local_endpoint(ec).port();
}

void HttpListener::Stop() {
    boost::system::error_code ignored;
    acceptor.close(ignored);
}

void HttpListener::Accept() {
    acceptor.async_accept([this](const boost::system::error_code& ec, tcp::socket socket) {
        if (ec == asio::error::operation_aborted || !acceptor.is_open()) return;
        if (!ec) OnAccept(std::move(socket));
        Accept();
    });
}

void HttpListener::OnAccept(tcp::socket socket) {
    boost::system::error_code ec;
    const tcp::endpoint peer = socket.remote_endpoint(ec);
    if (ec) return;
    const std::string address = ClientAddress::Normalize(peer.address());
    socket.set_option(tcp::no_delay(true), ec);
    if (metricsOnly) {
        std::make_shared<HttpSession>(ClientStream(std::move(socket), nullptr), context, address,
                                      HttpSession::Kind::MetricsOnly)
            ->Start();
        return;
    }
    // A trusted proxy's connections are counted by the clients they carry.
    const auto& proxies = context.trustedProxies;
    if (std::find(proxies.begin(), proxies.end(), address) != proxies.end()) {
        std::make_shared<HttpSession>(ClientStream(std::move(socket), context.tls), context,
                                      address, HttpSession::Kind::Proxied)
            ->Start();
        return;
    }
    // A handshake costs the server far more than the client: bounded per
    // address.
    if (context.tls && !context.server.TakeHandshake(address, context.clock())) {
        ++context.metrics.rateLimited[Metrics::At(TransportKind::WebSocket)];
        return;
    }
    // An address with all its HTTP connections gives up its oldest idle
    // keep-alive; with none idle, the new one is answered 503.
    MatchServer& server = context.server;
    HttpSession::Kind kind = HttpSession::Kind::Game;
    if (!server.AdmitHttp(address) &&
        !(context.keepAlives.CloseOldest(address) && server.AdmitHttp(address))) {
        if (!server.AdmitRefusal(address)) return;
        kind = HttpSession::Kind::Refused;
    }
    std::make_shared<HttpSession>(ClientStream(std::move(socket), context.tls), context, address,
                                  kind)
        ->Start();
}

}  // namespace qx::server
