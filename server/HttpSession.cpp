#include "server/HttpSession.h"

#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/file_body.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>
#include <boost/beast/websocket/rfc6455.hpp>
#include <chrono>

#include "server/MatchServer.h"
#include "server/Metrics.h"
#include "server/StaticFiles.h"
#include "server/WebSocketConnection.h"

namespace qx::server {
namespace {

namespace beast = boost::beast;
namespace http = beast::http;

constexpr auto kReadTimeout = std::chrono::seconds(30);
constexpr char kServerName[] = "quarnex-server";

std::string_view ToStd(beast::string_view text) {
    return {text.data(), text.size()};
}

}  // namespace

HttpSession::HttpSession(boost::asio::ip::tcp::socket socket, WebContext& c, std::string a)
    : stream(std::move(socket)), context(c), address(std::move(a)) {}

HttpSession::~HttpSession() {
    if (!handedOff) context.server.ReleaseAddress(address);
}

void HttpSession::Read() {
    parser.emplace();
    parser->header_limit(8 * 1024);
    parser->body_limit(0);
    stream.expires_after(kReadTimeout);
    http::async_read(stream, buffer, *parser,
                     [self = shared_from_this()](const boost::system::error_code& ec, size_t) {
                         self->OnRead(ec);
                     });
}

void HttpSession::OnRead(const boost::system::error_code& ec) {
    if (ec) {
        Shut();
        return;
    }
    Respond(parser->release());
}

void HttpSession::Respond(Request request) {
    ++context.metrics.httpRequests;
    const std::string target(request.target());
    if (beast::websocket::is_upgrade(request)) {
        if (target != "/ws") {
            SendText(request, 404, "text/plain; charset=utf-8", "no WebSocket here; use /ws\n");
            return;
        }
        handedOff = true;
        std::make_shared<WebSocketConnection>(std::move(stream), context, address)
            ->Start(std::move(request));
        return;
    }
    if (request.method() != http::verb::get && request.method() != http::verb::head) {
        SendText(request, 405, "text/plain; charset=utf-8", "only GET and HEAD\n");
        return;
    }
    if (target == "/metrics") {
        SendText(request, 200, "text/plain; version=0.0.4; charset=utf-8", context.metrics.Text());
        return;
    }
    SendFile(request);
}

void HttpSession::SendText(const Request& request, unsigned status, const std::string& type,
                           std::string body) {
    auto response = std::make_shared<http::response<http::string_body>>(
        static_cast<http::status>(status), request.version());
    response->set(http::field::server, kServerName);
    response->set(http::field::content_type, type);
    response->set(http::field::cache_control, "no-store");
    response->keep_alive(request.keep_alive());
    if (request.method() == http::verb::head) {
        response->content_length(body.size());
    } else {
        response->body() = std::move(body);
        response->prepare_payload();
    }
    Write(response);
}

void HttpSession::SendFile(const Request& request) {
    StaticFiles::File file;
    const StaticFiles::Result result =
        context.files ? context.files->Resolve(ToStd(request.target()),
                                               ToStd(request[http::field::accept_encoding]), file)
                      : StaticFiles::Result::NotFound;
    if (result == StaticFiles::Result::BadRequest) {
        SendText(request, 400, "text/plain; charset=utf-8", "bad path\n");
        return;
    }
    if (result == StaticFiles::Result::Forbidden) {
        SendText(request, 403, "text/plain; charset=utf-8", "forbidden\n");
        return;
    }
    if (result == StaticFiles::Result::Ok &&
        StaticFiles::NoneMatchHits(ToStd(request[http::field::if_none_match]), file.etag)) {
        SendNotModified(request, file);
        return;
    }
    http::file_body::value_type body;
    boost::system::error_code ec;
    if (result == StaticFiles::Result::Ok) body.open(file.path.c_str(), beast::file_mode::scan, ec);
    if (result != StaticFiles::Result::Ok || ec) {
        SendText(request, 404, "text/plain; charset=utf-8", "not found\n");
        return;
    }
    auto response =
        std::make_shared<http::response<http::file_body>>(http::status::ok, request.version());
    response->set(http::field::server, kServerName);
    response->set(http::field::content_type, file.contentType);
    response->set(http::field::vary, "Accept-Encoding");
    response->set(http::field::cache_control, file.cacheControl);
    response->set(http::field::etag, file.etag);
    response->set("X-Content-Type-Options", "nosniff");
    if (!file.encoding.empty()) response->set(http::field::content_encoding, file.encoding);
    response->keep_alive(request.keep_alive());
    if (request.method() == http::verb::head) {
        auto head =
            std::make_shared<http::response<http::empty_body>>(http::status::ok, request.version());
        head->base() = response->base();
        head->content_length(file.size);
        Write(head);
        return;
    }
    response->body() = std::move(body);
    response->prepare_payload();
    Write(response);
}

void HttpSession::SendNotModified(const Request& request, const StaticFiles::File& file) {
    auto response = std::make_shared<http::response<http::empty_body>>(http::status::not_modified,
                                                                       request.version());
    response->set(http::field::server, kServerName);
    response->set(http::field::vary, "Accept-Encoding");
    response->set(http::field::cache_control, file.cacheControl);
    response->set(http::field::etag, file.etag);
    response->keep_alive(request.keep_alive());
    Write(response);
}

template <typename Response>
void HttpSession::Write(std::shared_ptr<Response> response) {
    stream.expires_after(kReadTimeout);
    http::async_write(
        stream, *response,
        [self = shared_from_this(), response](const boost::system::error_code& ec, size_t) {
            if (ec || response->need_eof()) {
                self->Shut();
            } else {
                self->Read();
            }
        });
}

void HttpSession::Shut() {
    boost::system::error_code ignored;
    stream.socket().shutdown(boost::asio::ip::tcp::socket::shutdown_send, ignored);
    stream.close();
}

}  // namespace qx::server
