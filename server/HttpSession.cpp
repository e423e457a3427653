#include "server/HttpSession.h"

#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/file_body.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>
#include <boost/beast/websocket/rfc6455.hpp>
#include <chrono>

#include "server/ClientAddress.h"
#include "server/GameHistory.h"
#include "server/HistoryRoutes.h"
#include "server/MatchServer.h"
#include "server/Metrics.h"
#include "server/StaticFiles.h"
#include "server/WebSocketConnection.h"

namespace qx::server {
namespace {

namespace beast = boost::beast;
namespace http = beast::http;

constexpr auto kReadTimeout = std::chrono::seconds(30);
constexpr auto kHandshakeTimeout = std::chrono::seconds(10);
// How long a connection refused mid-request may go on sending before it is
// closed (closing at once could reset it before the answer is read).
constexpr auto kLinger = std::chrono::seconds(5);
constexpr char kTextType[] = "text/plain; charset=utf-8";
constexpr char kServerName[] = "quarnex-server";

std::string_view ToStd(beast::string_view text) {
    return {text.data(), text.size()};
}

}  // namespace

HttpSession::HttpSession(ClientStream s, WebContext& c, std::string a, Kind k)
    : stream(std::move(s)), context(c), peer(std::move(a)), kind(k) {
    if (kind == Kind::Game) address = peer;
}

HttpSession::~HttpSession() {
    if (!handedOff && !address.empty()) context.server.ReleaseAddress(address);
}

void HttpSession::Start() {
    stream.expires_after(kHandshakeTimeout);
    stream.Handshake([self = shared_from_this()](const boost::system::error_code& ec) {
        if (ec) {
            self->Shut();
        } else {
            self->Read();
        }
    });
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
    if (ec == http::error::header_limit) {
        Request request;
        request.version(11);
        request.keep_alive(false);
        SendText(request, 431, kTextType, "request headers over 8 KB\n");
        return;
    }
    if (ec) {
        Shut();
        return;
    }
    Respond(parser->release());
}

void HttpSession::Respond(const Request& request) {
    ++context.metrics.httpRequests;
    if (kind == Kind::Proxied && !Attribute(request)) return;
    const std::string target(request.target());
    const bool upgrade = beast::websocket::is_upgrade(request);
    if (upgrade && kind != Kind::MetricsOnly) {
        if (target != "/ws") {
            SendText(request, 404, kTextType, "no WebSocket here; use /ws\n");
            return;
        }
        handedOff = true;
        std::make_shared<WebSocketConnection>(std::move(stream), context, address)->Start(request);
        return;
    }
    if (request.method() != http::verb::get && request.method() != http::verb::head) {
        SendText(request, 405, kTextType, "only GET and HEAD\n");
        return;
    }
    if (target == "/healthz") {
        const std::string problem = context.history ? context.history->Problem() : "";
        if (context.draining) {
            SendText(request, 503, kTextType, "draining\n");
        } else if (!problem.empty()) {
            SendText(request, 200, kTextType, "degraded: " + problem + "\n");
        } else {
            SendText(request, 200, kTextType, "ok\n");
        }
        return;
    }
    // /metrics on the game's port answers loopback clients only (the client
    // behind a proxy counts, not the proxy), unless it has a port of its own.
    const bool metrics = kind == Kind::MetricsOnly ||
                         (context.metricsOnGamePort && ClientAddress::IsLoopback(address));
    if (target == "/metrics" && metrics) {
        SendText(request, 200, "text/plain; version=0.0.4; charset=utf-8", context.metrics.Text());
        return;
    }
    if (kind == Kind::MetricsOnly) {
        SendText(request, 404, kTextType, "only /metrics and /healthz here\n");
        return;
    }
    // The history answers later, from its thread's result.
    auto asked = std::make_shared<Request>(request);
    if (HistoryRoutes::Route(context.history, target,
                             [self = shared_from_this(), asked](GameHistory::Answer answer) {
                                 self->SendText(*asked, answer.status, answer.type,
                                                std::move(answer.body));
                             })) {
        return;
    }
    SendFile(request);
}

// A proxy's connection carries requests of the clients it names: each is
// counted against its client's address (a pooled connection may change
// client between requests).
bool HttpSession::Attribute(const Request& request) {
    const std::string client =
        ClientAddress::Forwarded(ToStd(request[http::field::forwarded]),
                                 ToStd(request["X-Forwarded-For"]), context.trustedProxies, peer);
    if (client == address) return true;
    if (!address.empty()) context.server.ReleaseAddress(address);
    address.clear();
    if (!context.server.AdmitAddress(client)) {
        Request refused;
        refused.version(request.version());
        refused.keep_alive(false);
        SendText(refused, 429, kTextType, "too many connections from your address\n");
        return false;
    }
    address = client;
    return true;
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
        SendText(request, 400, kTextType, "bad path\n");
        return;
    }
    if (result == StaticFiles::Result::Forbidden) {
        SendText(request, 403, kTextType, "forbidden\n");
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
        SendText(request, 404, kTextType, "not found\n");
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
    stream.expires_after(kLinger);
    Linger();
}

// Reads and drops what the client still sends until it closes (or the
// linger time ends), so the last answer is not lost to a reset.
void HttpSession::Linger() {
    stream.Tcp().async_read_some(
        boost::asio::buffer(scrap),
        [self = shared_from_this()](const boost::system::error_code& ec, size_t) {
            if (ec) {
                self->stream.Tcp().close();
            } else {
                self->Linger();
            }
        });
}

}  // namespace qx::server
