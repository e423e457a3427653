#include "server/Metrics.h"

#include <sstream>

namespace qx::server {
namespace {

template <typename T>
void ByKind(std::ostringstream& out, const char* name, const char* type, const char* help,
            const std::array<T, kTransportKinds>& values) {
    out << "# HELP " << name << ' ' << help << "\n# TYPE " << name << ' ' << type << '\n';
    for (size_t i = 0; i < kTransportKinds; ++i) {
        out << name << "{transport=\"" << TransportName(static_cast<TransportKind>(i)) << "\"} "
            << values[i] << '\n';
    }
}

void One(std::ostringstream& out, const char* name, const char* type, const char* help,
         uint64_t value) {
    out << "# HELP " << name << ' ' << help << "\n# TYPE " << name << ' ' << type << '\n'
        << name << ' ' << value << '\n';
}

}  // namespace

std::string Metrics::Text() const {
    std::ostringstream out;
    One(out, "quarnex_rooms", "gauge", "Rooms open now.", static_cast<uint64_t>(rooms));
    ByKind(out, "quarnex_connections", "gauge", "Client connections open now.", connections);
    ByKind(out, "quarnex_players", "gauge", "Players in rooms now.", players);
    ByKind(out, "quarnex_spectators", "gauge", "Spectators in rooms now.", spectators);
    ByKind(out, "quarnex_frames_received_total", "counter", "Frames received.", framesReceived);
    ByKind(out, "quarnex_packets_relayed_total", "counter",
           "Game packets relayed to the other player, by the transport they came on.",
           packetsRelayed);
    ByKind(out, "quarnex_bytes_relayed_total", "counter",
           "Bytes of game packets relayed, by the transport they came on.", bytesRelayed);
    ByKind(out, "quarnex_feed_bytes_total", "counter", "Bytes of inputs sent to spectators.",
           feedBytes);
    ByKind(out, "quarnex_bad_packets_total", "counter",
           "Frames dropped as malformed or not allowed.", badPackets);
    ByKind(out, "quarnex_rate_limited_total", "counter", "Frames dropped over the rate limit.",
           rateLimited);
    One(out, "quarnex_rooms_created_total", "counter", "Rooms created.", roomsCreated);
    One(out, "quarnex_rooms_ended_total", "counter", "Rooms ended.", roomsEnded);
    out << "# HELP quarnex_request_errors_total Requests answered with an error.\n"
        << "# TYPE quarnex_request_errors_total counter\n";
    for (size_t i = 1; i < requestErrors.size(); ++i) {
        out << "quarnex_request_errors_total{error=\""
            << net::MatchErrorText(static_cast<net::MatchError>(i)) << "\"} " << requestErrors[i]
            << '\n';
    }
    One(out, "quarnex_http_requests_total", "counter", "HTTP requests served.", httpRequests);
    return out.str();
}

}  // namespace qx::server
