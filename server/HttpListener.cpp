#include "server/HttpListener.h"

#include <memory>

#include "server/HttpSession.h"
#include "server/MatchServer.h"

namespace qx::server {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

HttpListener::HttpListener(asio::io_context& io, WebContext& c) : acceptor(io), context(c) {}

bool HttpListener::Open(const std::string& bindAddress, uint16_t port, std::string& error) {
    boost::system::error_code ec;
    const asio::ip::address address = bindAddress.empty()
                                          ? asio::ip::address(asio::ip::address_v4::any())
                                          : asio::ip::make_address(bindAddress, ec);
    if (ec) {
        error = "bad address to bind: " + bindAddress;
        return false;
    }
    const tcp::endpoint endpoint(address, port);
    acceptor.open(endpoint.protocol(), ec);
    if (!ec) acceptor.set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec) acceptor.bind(endpoint, ec);
    if (!ec) acceptor.listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        error = "cannot listen on TCP port " + std::to_string(port) + ": " + ec.message();
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
        if (!ec) {
            boost::system::error_code peerError;
            const tcp::endpoint peer = socket.remote_endpoint(peerError);
            const std::string address = peerError ? "?" : peer.address().to_string();
            if (!peerError && context.server.AdmitAddress(address)) {
                socket.set_option(tcp::no_delay(true), peerError);
                std::make_shared<HttpSession>(std::move(socket), context, address)->Start();
            }
        }
        Accept();
    });
}

}  // namespace qx::server
