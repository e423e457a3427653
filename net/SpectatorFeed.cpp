#include "net/SpectatorFeed.h"

#include "net/MatchProtocol.h"
#include "net/PacketCodec.h"

namespace qx::net {

bool SpectatorFeed::Add(const uint8_t* data, size_t size) {
    const char* error = nullptr;
    if (IsGameFrame(data, size)) {
        Packet packet;
        if (start || !DecodePacket(data, size, packet, error)) return false;
        const auto* s = std::get_if<StartPacket>(&packet);
        if (!s) return false;
        start = *s;
        return true;
    }
    FeedFrame feed;
    if (!DecodeFeed(data, size, feed, error)) return false;
    const size_t side = feed.side == NetSide::Emperor ? 0 : 1;
    if (feed.firstTick != received[side] + 1) return false;
    for (InputList& list : feed.inputs) waiting[side].push_back(list);
    received[side] += static_cast<uint32_t>(feed.inputs.size());
    return true;
}

bool SpectatorFeed::Next(uint32_t& tick, InputList& emperor, InputList& rebel) {
    if (waiting[0].empty() || waiting[1].empty()) return false;
    tick = next++;
    emperor = waiting[0].front();
    rebel = waiting[1].front();
    waiting[0].pop_front();
    waiting[1].pop_front();
    return true;
}

}  // namespace qx::net
