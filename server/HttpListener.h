#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <cstdint>
#include <string>

#include "server/WebContext.h"

namespace qx::server {

// The server's TCP side: accepts connections on the server's port (as
// many per address as the limits allow; TLS when the context has it) and
// gives each an HttpSession. With no address to bind it listens on IPv6
// and IPv4 alike. A metrics listener serves /metrics and /healthz only,
// plain, counting nobody.
class HttpListener {
  public:
    HttpListener(boost::asio::io_context& io, WebContext& context, bool metricsOnly = false);

    bool Open(const std::string& bindAddress, uint16_t port, std::string& error);
    uint16_t Port() const;
    void Start() { Accept(); }
    void Stop();

  private:
    bool Listen(const boost::asio::ip::tcp::endpoint& endpoint, bool dualStack,
                boost::system::error_code& ec);
    void Accept();
    void OnAccept(boost::asio::ip::tcp::socket socket);

    boost::asio::ip::tcp::acceptor acceptor;
    WebContext& context;
    bool metricsOnly;
};

}  // namespace qx::server
