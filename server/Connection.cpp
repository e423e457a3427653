#include "server/Connection.h"

#include <atomic>

namespace qx::server {

const char* TransportName(TransportKind kind) {
    return kind == TransportKind::Enet ? "enet" : "websocket";
}

Connection::Connection(TransportKind k, std::string addr, uint64_t nowMs)
    : openedAt(nowMs), lastHeard(nowMs), kind(k), address(std::move(addr)) {
    static std::atomic<uint64_t> next{1};
    id = next++;
}

}  // namespace qx::server
