#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <cstdint>
#include <string>

#include "server/WebContext.h"

namespace qx::server {

// The server's TCP side: accepts connections on the server's port (as
// many per address as the limits allow) and gives each an HttpSession.
class HttpListener {
  public:
    HttpListener(boost::asio::io_context& io, WebContext& context);

    bool Open(const std::string& bindAddress, uint16_t port, std::string& error);
    uint16_t Port() const;
    void Start() { Accept(); }
    void Stop();

  private:
    void Accept();

    boost::asio::ip::tcp::acceptor acceptor;
    WebContext& context;
};

}  // namespace qx::server
