#include "server/AgonesClient.h"

#include <algorithm>
#include <boost/asio/ip/address_v4.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>
#include <charconv>
#include <cstdlib>
#include <cstring>

namespace qx::server {
namespace {

namespace http = boost::beast::http;
using tcp = boost::asio::ip::tcp;

constexpr uint16_t kDefaultPort = 9358;
constexpr auto kCallLimit = std::chrono::seconds(2);
constexpr auto kPingInterval = std::chrono::seconds(1);
constexpr unsigned kHealthEvery = 2;  // pings: a Health every 2 s
constexpr auto kFirstRetry = std::chrono::milliseconds(250);
constexpr auto kLongestRetry = std::chrono::milliseconds(8000);

// The REST gateway writes 64-bit integers as strings, and takes them so.
std::string Counter(int64_t count, int64_t capacity) {
    return "{\"count\":\"" + std::to_string(count) + "\",\"capacity\":\"" +
           std::to_string(capacity) + "\"}";
}

}  // namespace

AgonesClient::AgonesClient(boost::asio::io_context& context, uint16_t sidecarPort,
                           std::ostream& out, std::function<Counts()> current, Counts limits)
    : io(context),
      port(sidecarPort),
      log(out),
      counts(std::move(current)),
      capacity(limits),
      pinger(context),
      retry(context) {}

bool AgonesClient::PortFromEnvironment(uint16_t& result, std::string& error) {
    const char* text = std::getenv("AGONES_SDK_HTTP_PORT");
    if (text == nullptr || *text == '\0') {
        result = kDefaultPort;
        return true;
    }
    const char* end = text + std::strlen(text);
    unsigned value = 0;
    const auto [ptr, ec] = std::from_chars(text, end, value);
    if (ec != std::errc() || ptr != end || value == 0 || value > 65535) {
        error = std::string("bad AGONES_SDK_HTTP_PORT '") + text + "' (1-65535)";
        return false;
    }
    result = static_cast<uint16_t>(value);
    return true;
}

void AgonesClient::Start() {
    Queue(Call::Ready);
    QueueChangedCounts();
    Ping();
}

void AgonesClient::Shutdown() {
    stopping = true;
    pinger.cancel();
    // Pings still waiting are of no use now; the one on its way finishes.
    const auto first = calls.begin() + (busy ? 1 : 0);
    calls.erase(std::remove(first, calls.end(), Call::Health), calls.end());
    QueueChangedCounts();
    Queue(Call::Shutdown);
    // A call waiting for its retry goes now: the server does not wait long.
    backoff = std::chrono::milliseconds(0);
    retry.cancel();
}

void AgonesClient::Ping() {
    pinger.expires_after(kPingInterval);
    pinger.async_wait([this](const boost::system::error_code& ec) {
        if (ec || stopping) return;
        if (++ticks % kHealthEvery == 0) Queue(Call::Health);
        QueueChangedCounts();
        Ping();
    });
}

void AgonesClient::QueueChangedCounts() {
    const Counts now = counts();
    if (sentRooms != now.rooms) Queue(Call::Rooms);
    if (sentPlayers != now.players) Queue(Call::Players);
}

// A call already waiting is not queued twice (a counter's body is made when
// it goes, with the count of that moment).
void AgonesClient::Queue(Call call) {
    const auto first = calls.begin() + (busy ? 1 : 0);
    if (std::find(first, calls.end(), call) != calls.end()) return;
    calls.push_back(call);
    Send();
}

std::string AgonesClient::Target(Call call) const {
    switch (call) {
        case Call::Ready:
            return "/ready";
        case Call::Health:
            return "/health";
        case Call::Rooms:
            return "/v1beta1/counters/rooms";
        case Call::Players:
            return "/v1beta1/counters/players";
        case Call::Shutdown:
            return "/shutdown";
    }
    return "/";
}

std::string AgonesClient::Body(Call call) {
    const Counts now = counts();
    if (call == Call::Rooms) {
        sending = now.rooms;
        return Counter(now.rooms, capacity.rooms);
    }
    if (call == Call::Players) {
        sending = now.players;
        return Counter(now.players, capacity.players);
    }
    return "{}";
}

void AgonesClient::Send() {
    if (busy || calls.empty() || retry.expiry() > std::chrono::steady_clock::now()) return;
    busy = true;
    const Call call = calls.front();
    const bool counter = call == Call::Rooms || call == Call::Players;
    request.emplace(counter ? http::verb::patch : http::verb::post, Target(call), 11);
    request->set(http::field::host, "localhost:" + std::to_string(port));
    request->set(http::field::content_type, "application/json");
    request->body() = Body(call);
    request->prepare_payload();
    stream.emplace(io);
    stream->expires_after(kCallLimit);
    const tcp::endpoint sidecar(boost::asio::ip::address_v4::loopback(), port);
    stream->async_connect(sidecar, [this](const boost::system::error_code& ec) {
        if (ec) return OnResponse(ec, 0);
        http::async_write(*stream, *request, [this](const boost::system::error_code& ec2, size_t) {
            if (ec2) return OnResponse(ec2, 0);
            response.emplace();
            buffer.clear();
            http::async_read(*stream, buffer, *response,
                             [this](const boost::system::error_code& ec3, size_t) {
                                 OnResponse(ec3, ec3 ? 0 : response->result_int());
                             });
        });
    });
}

void AgonesClient::OnResponse(const boost::system::error_code& ec, unsigned status) {
    busy = false;
    stream.reset();
    const Call call = calls.front();
    if (ec)
        return Retry(std::string(request->target().data(), request->target().size()) + ": " +
                     ec.message());
    if (failing) log << "quarnex-server: agones sidecar reached" << std::endl;
    failing = false;
    backoff = std::chrono::milliseconds(0);
    if (status / 100 == 2) {
        if (call == Call::Rooms) sentRooms = sending;
        if (call == Call::Players) sentPlayers = sending;
        if (call == Call::Ready) log << "quarnex-server: agones: ready" << std::endl;
    } else if ((reported & (1U << static_cast<unsigned>(call))) == 0) {
        // The sidecar refused it: trying again would be refused again.
        reported |= 1U << static_cast<unsigned>(call);
        log << "quarnex-server: agones: " << request->target() << " answered " << status << ' '
            << response->body().substr(0, 200) << std::endl;
    }
    calls.pop_front();
    Send();
}

void AgonesClient::Retry(const std::string& what) {
    if (!failing) {
        log << "quarnex-server: agones sidecar at 127.0.0.1:" << port << " not reached (" << what
            << "), trying again with growing pauses" << std::endl;
    }
    failing = true;
    backoff = stopping ? kFirstRetry : std::clamp(backoff * 2, kFirstRetry, kLongestRetry);
    retry.expires_after(backoff);
    retry.async_wait([this](const boost::system::error_code&) {
        retry.expires_at(std::chrono::steady_clock::time_point::min());
        Send();
    });
}

}  // namespace qx::server
