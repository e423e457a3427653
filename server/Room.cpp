#include "server/Room.h"

#include <algorithm>

namespace qx::server {

Room::Room(std::string c, uint32_t s, net::NetSide host, uint32_t t, bool q, uint64_t nowMs)
    : createdAt(nowMs),
      lastActivity(nowMs),
      code(std::move(c)),
      seed(s),
      hostSide(host),
      ticks(t),
      quick(q) {}

void Room::SetPlayer(net::NetSide side, Connection* connection) {
    players[Index(side)] = connection;
}

uint32_t Room::TickLimit(uint64_t nowMs, uint32_t perSecond, uint32_t slack) const {
    if (startedAt == 0 || nowMs < startedAt) return slack;
    return static_cast<uint32_t>(
        std::min<uint64_t>((nowMs - startedAt) * perSecond / 1000 + slack, net::kMaxTick));
}

bool Room::FreeSide(net::NetSide& side) const {
    if (state != State::Waiting) return false;
    for (net::NetSide s : {net::NetSide::Emperor, net::NetSide::Rebel}) {
        if (!players[Index(s)]) {
            side = s;
            return true;
        }
    }
    return false;
}

}  // namespace qx::server
