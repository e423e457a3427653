#pragma once

#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/parser.hpp>
#include <memory>
#include <optional>
#include <string>

#include "server/ClientStream.h"
#include "server/StaticFiles.h"
#include "server/WebContext.h"

namespace qx::server {

// One TCP connection (plain or TLS) before it is a WebSocket: HTTP/1.1
// requests (GET and HEAD) for the browser build's files, /healthz and
// /metrics, kept alive between requests; an upgrade at /ws hands the
// connection to a WebSocketConnection. Every refusal is answered: headers
// over 8 KB get 431, other methods 405, a body 413, plain http on the TLS
// port a redirect to https; a connection that sends nothing for 30 seconds
// is closed. HTTP connections are counted per address apart from game
// connections (an upgrade moves to those, or is answered 503). On a
// connection from a trusted proxy each request's
// forwarded client address is the one counted and logged.
class HttpSession : public std::enable_shared_from_this<HttpSession> {
  public:
    enum class Kind : uint8_t {
        Game,         // the game's port; `address` is already admitted (HTTP)
        Proxied,      // the game's port through a trusted proxy; admitted per request
        MetricsOnly,  // the --metrics listener: /metrics and /healthz, nothing counted
        Refused,      // over its address's HTTP limit: its request is answered 503
    };

    HttpSession(ClientStream stream, WebContext& context, std::string address, Kind kind);
    ~HttpSession();

    void Start();
    // Closes a connection idle between requests at once (KeepAlives), its
    // place given up before this returns.
    void CloseIdle();

  private:
    using Request = boost::beast::http::request<boost::beast::http::empty_body>;

    void RedirectToHttps();
    void Read();
    void OnRead(const boost::system::error_code& ec);
    void Respond(const Request& request);
    bool Attribute(const Request& request);
    void SendText(const Request& request, unsigned status, const std::string& type,
                  std::string body);
    void SendRefusal(const Request& request, unsigned status, std::string body);
    void SendLobby(const Request& request);
    void SendFile(const Request& request);
    void SendNotModified(const Request& request, const StaticFiles::File& file);
    template <typename Response>
    void Write(std::shared_ptr<Response> response);
    void Unlist();
    void ReleaseCount();
    void Shut();
    void Linger();

    ClientStream stream;
    boost::beast::flat_buffer buffer;
    std::optional<boost::beast::http::request_parser<boost::beast::http::empty_body>> parser;
    WebContext& context;
    std::string peer;     // the TCP peer
    std::string address;  // the client as counted (empty: none counted)
    Kind kind;
    bool handedOff = false;
    bool served = false;  // has answered a request: idle between them is a keep-alive
    bool listed = false;  // in the keep-alives as idle
    KeepAlives::Entry idleEntry;
    char scrap[512];
};

}  // namespace qx::server
