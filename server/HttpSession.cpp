#include "server/HttpSession.h"

#include <algorithm>
#include <boost/beast/core/detect_ssl.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/file_body.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>
#include <boost/beast/websocket/rfc6455.hpp>
#include <cctype>
#include <chrono>
#include <cstring>
#include <limits>

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
    if (kind == Kind::Game || kind == Kind::Refused) address = peer;
}

HttpSession::~HttpSession() {
    Unlist();
    ReleaseCount();
}

// Gives up the connection's place in its address's count.
void HttpSession::ReleaseCount() {
    if (handedOff || address.empty()) return;
    if (kind == Kind::Refused) {
        context.server.ReleaseRefusal(address);
    } else {
        context.server.ReleaseHttp(address);
    }
    address.clear();
}

void HttpSession::Unlist() {
    if (!listed) return;
    listed = false;
    context.keepAlives.Remove(address, idleEntry);
}

void HttpSession::CloseIdle() {
    Unlist();
    ReleaseCount();
    boost::system::error_code ignored;
    stream.socket().close(ignored);
}

void HttpSession::Start() {
    if (!stream.Secure()) {
        Read();
        return;
    }
    stream.expires_after(kHandshakeTimeout);
    beast::async_detect_ssl(
        stream.Tcp(), buffer,
        [self = shared_from_this()](const boost::system::error_code& ec, bool tls) {
            if (ec) {
                self->Shut();
            } else if (!tls) {
                self->RedirectToHttps();
            } else {
                self->stream.Handshake(self->buffer.data(),
                                       [self](const boost::system::error_code& e, size_t used) {
                                           if (e) {
                                               self->Shut();
                                               return;
                                           }
                                           self->buffer.consume(used);
                                           self->Read();
                                       });
            }
        });
}

// Plain http on the TLS port (a browser given http://): sent on to the
// same place over https, or told what the port speaks.
void HttpSession::RedirectToHttps() {
    parser.emplace();
    parser->header_limit(8 * 1024);
    http::async_read_header(
        stream.Tcp(), buffer, *parser,
        [self = shared_from_this()](const boost::system::error_code& ec, size_t) {
            if (ec) {
                self->Shut();
                return;
            }
            const Request& request = self->parser->get();
            const std::string_view host = ToStd(request[http::field::host]);
            const std::string_view target = ToStd(request.target());
            const bool usable =
                !host.empty() && host.size() < 256 && !target.empty() && target.front() == '/' &&
                std::all_of(host.begin(), host.end(),
                            [](char c) {
                                return std::isalnum(static_cast<unsigned char>(c)) ||
                                       std::strchr(".-:[]", c);
                            }) &&
                std::none_of(target.begin(), target.end(), [](char c) {
                    return static_cast<unsigned char>(c) <= ' ' || c == 0x7f;
                });
            auto response = std::make_shared<http::response<http::string_body>>(
                usable ? http::status::moved_permanently : http::status::bad_request,
                request.version());
            response->set(http::field::server, kServerName);
            response->set(http::field::content_type, kTextType);
            response->set(http::field::cache_control, "no-store");
            if (usable) {
                response->set(http::field::location,
                              "https://" + std::string(host) + std::string(target));
            }
            response->body() = "this port speaks https\n";
            response->keep_alive(false);
            response->prepare_payload();
            http::async_write(
                self->stream.Tcp(), *response,
                [self, response](const boost::system::error_code&, size_t) { self->Shut(); });
        });
}

void HttpSession::Read() {
    parser.emplace();
    parser->header_limit(8 * 1024);
    // A body is refused after the header (413); no limit here, as this
    // Beast takes "none" for a limit every body is over.
    parser->body_limit(std::numeric_limits<uint64_t>::max());
    stream.expires_after(kReadTimeout);
    if (served && kind == Kind::Game && buffer.size() == 0) {
        idleEntry = context.keepAlives.Add(address, weak_from_this());
        listed = true;
    }
    http::async_read_header(stream, buffer, *parser,
                            [self = shared_from_this()](const boost::system::error_code& ec,
                                                        size_t) { self->OnRead(ec); });
}

void HttpSession::OnRead(const boost::system::error_code& ec) {
    Unlist();
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
    const Request& request = parser->get();
    if (request.method() != http::verb::get && request.method() != http::verb::head) {
        SendRefusal(request, 405, "only GET and HEAD\n");
    } else if (!parser->is_done()) {
        SendRefusal(request, 413, "no request bodies here\n");
    } else {
        Respond(parser->release());
    }
}

// A refusal that ends the connection (what the client still sends, such
// as its body, is read away while it lingers).
void HttpSession::SendRefusal(const Request& request, unsigned status, std::string body) {
    Request closing;
    closing.version(request.version());
    closing.method(request.method() == http::verb::head ? http::verb::head : http::verb::get);
    closing.keep_alive(false);
    SendText(closing, status, kTextType, std::move(body));
}

void HttpSession::Respond(const Request& request) {
    ++context.metrics.httpRequests;
    served = true;
    if (kind == Kind::Refused) {
        SendRefusal(request, 503, "too many connections from your address; try again soon\n");
        return;
    }
    if (kind == Kind::Proxied && !Attribute(request)) return;
    const std::string target(request.target());
    const bool upgrade = beast::websocket::is_upgrade(request);
    if (upgrade && kind != Kind::MetricsOnly) {
        if (target != "/ws") {
            SendText(request, 404, kTextType, "no WebSocket here; use /ws\n");
            return;
        }
        // The connection becomes a game connection, counted as one.
        if (!context.server.AdmitAddress(address)) {
            SendRefusal(request, 503, "too many game connections from your address\n");
            return;
        }
        const std::string client = address;
        ReleaseCount();
        handedOff = true;
        std::make_shared<WebSocketConnection>(std::move(stream), context, client)->Start(request);
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
    if (target == "/api/lobby" || target.rfind("/api/lobby?", 0) == 0) {
        SendLobby(request);
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
    std::vector<std::string_view> lines;
    const auto [first, last] = request.equal_range(ClientAddress::HeaderName(context.proxyHeader));
    for (auto it = first; it != last; ++it) lines.push_back(ToStd(it->value()));
    const std::string client = ClientAddress::FromProxy(lines, context.proxyHeader, peer);
    if (client == address) return true;
    ReleaseCount();
    if (!context.server.AdmitHttp(client)) {
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
    if (status == 405) response->set(http::field::allow, "GET, HEAD");
    if (status == 429 || (status == 503 && !context.draining))
        response->set(http::field::retry_after, "5");
    if (request.method() == http::verb::head) {
        response->content_length(body.size());
    } else {
        response->body() = std::move(body);
        response->prepare_payload();
    }
    Write(response);
}

// The lobby, cached a second by the server and by whoever asks; a client
// that has this copy gets 304.
void HttpSession::SendLobby(const Request& request) {
    const LobbyPage::Page& page = context.server.GetLobby().Page(context.clock());
    const bool same =
        StaticFiles::NoneMatchHits(ToStd(request[http::field::if_none_match]), page.etag);
    auto response = std::make_shared<http::response<http::string_body>>(
        same ? http::status::not_modified : http::status::ok, request.version());
    response->set(http::field::server, kServerName);
    response->set(http::field::cache_control,
                  "public, max-age=" + std::to_string(LobbyPage::kMaxAgeSeconds));
    response->set(http::field::etag, page.etag);
    response->keep_alive(request.keep_alive());
    if (!same) {
        response->set(http::field::content_type, "application/json");
        response->set("X-Content-Type-Options", "nosniff");
        if (request.method() == http::verb::head) {
            response->content_length(page.body.size());
        } else {
            response->body() = page.body;
            response->prepare_payload();
        }
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
