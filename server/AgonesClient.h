#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/string_body.hpp>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace qx::server {

// The Agones SDK sidecar over its REST interface (HTTP on 127.0.0.1, the port
// Agones puts in AGONES_SDK_HTTP_PORT), on the server's own loop: Ready once
// the server listens, Health every 2 s from the loop (so a stuck loop stops
// the pings), the Counters "rooms" and "players" (count and capacity) at most
// once a second when they change, and Shutdown when the server stops. One
// call at a time, each on its own short connection with a 2 s limit; nothing
// here waits. A sidecar that is down or slow is logged once and the call is
// tried again with growing pauses (0.25 s to 8 s), while games go on; a call
// the sidecar answers with an error status is logged and dropped.
class AgonesClient {
  public:
    struct Counts {
        int64_t rooms = 0;
        int64_t players = 0;
    };

    AgonesClient(boost::asio::io_context& io, uint16_t port, std::ostream& log,
                 std::function<Counts()> counts, Counts capacity);

    // The port in AGONES_SDK_HTTP_PORT (9358 without it); false with `error`
    // for a value that is no port.
    static bool PortFromEnvironment(uint16_t& port, std::string& error);

    // Ready and the counters' capacity, then the pings.
    void Start();
    // The last counts and Shutdown; the pings stop.
    void Shutdown();
    // Nothing queued or on its way.
    bool Idle() const { return calls.empty(); }

  private:
    enum class Call : uint8_t { Ready, Health, Rooms, Players, Shutdown };
    using Response = boost::beast::http::response<boost::beast::http::string_body>;

    void Queue(Call call);
    void QueueChangedCounts();
    void Ping();
    void Send();
    void OnResponse(const boost::system::error_code& ec, unsigned status);
    void Retry(const std::string& what);
    std::string Target(Call call) const;
    std::string Body(Call call);

    boost::asio::io_context& io;
    uint16_t port;
    std::ostream& log;
    std::function<Counts()> counts;
    Counts capacity;
    std::optional<int64_t> sentRooms, sentPlayers;  // what the sidecar has
    int64_t sending = 0;                            // the count on its way
    std::deque<Call> calls;  // the first one is on its way (or waits to retry)
    std::optional<boost::beast::tcp_stream> stream;
    boost::beast::flat_buffer buffer;
    std::optional<boost::beast::http::request<boost::beast::http::string_body>> request;
    std::optional<Response> response;
    boost::asio::steady_timer pinger;
    boost::asio::steady_timer retry;
    std::chrono::milliseconds backoff{0};
    unsigned ticks = 0;
    unsigned reported = 0;  // the calls whose error status has been logged
    bool busy = false;
    bool failing = false;
    bool stopping = false;
};

}  // namespace qx::server
