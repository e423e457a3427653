#include "server/Connection.h"

namespace qx::server {

const char* TransportName(TransportKind kind) {
    return kind == TransportKind::Enet ? "enet" : "websocket";
}

Connection::Connection(TransportKind k, std::string addr, uint64_t nowMs)
    : openedAt(nowMs), lastHeard(nowMs), kind(k), address(std::move(addr)) {}

}  // namespace qx::server
