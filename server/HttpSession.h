#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/parser.hpp>
#include <memory>
#include <optional>
#include <string>

#include "server/StaticFiles.h"
#include "server/WebContext.h"

namespace qx::server {

// One TCP connection before it is a WebSocket: HTTP/1.1 requests (GET and
// HEAD) for the browser build's files and /metrics, kept alive between
// requests; an upgrade at /ws hands the connection to a
// WebSocketConnection. Headers are limited to 8 KB, bodies are refused, and
// a connection that sends nothing for 30 seconds is closed.
class HttpSession : public std::enable_shared_from_this<HttpSession> {
  public:
    HttpSession(boost::asio::ip::tcp::socket socket, WebContext& context, std::string address);
    ~HttpSession();

    void Start() { Read(); }

  private:
    using Request = boost::beast::http::request<boost::beast::http::empty_body>;

    void Read();
    void OnRead(const boost::system::error_code& ec);
    void Respond(Request request);
    void SendText(const Request& request, unsigned status, const std::string& type,
                  std::string body);
    void SendFile(const Request& request);
    void SendNotModified(const Request& request, const StaticFiles::File& file);
    template <typename Response>
    void Write(std::shared_ptr<Response> response);
    void Shut();

    boost::beast::tcp_stream stream;
    boost::beast::flat_buffer buffer;
    std::optional<boost::beast::http::request_parser<boost::beast::http::empty_body>> parser;
    WebContext& context;
    std::string address;
    bool handedOff = false;
};

}  // namespace qx::server
