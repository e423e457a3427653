#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "net/MatchProtocol.h"
#include "server/Connection.h"

namespace qx::server {

// What the server counts, by transport where it matters, and its text for
// monitoring systems (the Prometheus exposition format at /metrics).
struct Metrics {
    template <typename T>
    using ByTransport = std::array<T, kTransportKinds>;

    int64_t rooms = 0;
    ByTransport<int64_t> connections{};
    ByTransport<int64_t> players{};
    ByTransport<int64_t> spectators{};
    ByTransport<uint64_t> framesReceived{};
    ByTransport<uint64_t> packetsRelayed{};  // by the transport they arrived on
    ByTransport<uint64_t> bytesRelayed{};
    ByTransport<uint64_t> feedBytes{};  // sent to spectators
    ByTransport<uint64_t> badPackets{};
    ByTransport<uint64_t> rateLimited{};
    uint64_t roomsCreated = 0;
    uint64_t roomsEnded = 0;
    std::array<uint64_t, 7> requestErrors{};  // by MatchError
    uint64_t httpRequests = 0;

    static size_t At(TransportKind kind) { return static_cast<size_t>(kind); }
    void CountError(net::MatchError error) { ++requestErrors[static_cast<size_t>(error)]; }
    std::string Text() const;
};

}  // namespace qx::server
