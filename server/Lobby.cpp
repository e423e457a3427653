#include "server/Lobby.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "server/Connection.h"
#include "server/Room.h"

namespace qx::server {
namespace {

constexpr double kUnrated = 1500;

uint32_t Seconds(uint64_t from, uint64_t nowMs) {
    return from == 0 || nowMs < from ? 0 : static_cast<uint32_t>((nowMs - from) / 1000);
}

uint16_t Saturated(size_t value) {
    return static_cast<uint16_t>(std::min<size_t>(value, UINT16_MAX));
}

}  // namespace

double Lobby::Rating(const PlayerIdentity& who) const {
    if (!who.Known()) return kUnrated;
    return ratingOf ? ratingOf(who) : kUnrated;
}

void Lobby::Add(const Room& room) {
    rooms.insert(&room);
    dirty = true;
    ++version;
}

void Lobby::Touch(const Room& room) {
    if (!Lists(room)) return;
    dirty = true;
    ++version;
}

void Lobby::Remove(const Room& room) {
    if (rooms.erase(&room) == 0) return;
    dirty = true;
    ++version;
}

bool Lobby::Watch(Connection& c, uint64_t nowMs) {
    if (!Watching(c) && watchers.size() >= kMaxWatchers) return false;
    watchers.insert(&c);
    const std::vector<uint8_t> frame = Frame(nowMs);
    c.Send(frame.data(), frame.size(), true);
    return true;
}

void Lobby::Tick(uint64_t nowMs) {
    if (watchers.empty()) return;
    const uint64_t since = nowMs - lastSent;
    if ((dirty && since >= kCoalesceMs) || (!rooms.empty() && since >= kRefreshMs)) {
        SendAll(nowMs);
    }
}

void Lobby::SendAll(uint64_t nowMs) {
    const std::vector<uint8_t> frame = Frame(nowMs);
    for (Connection* c : watchers) {
        if (c->Backlog() < kMaxBacklog) c->Send(frame.data(), frame.size(), true);
    }
    dirty = false;
    lastSent = nowMs;
}

std::vector<uint8_t> Lobby::Frame(uint64_t nowMs) const {
    net::MatchMessage message;
    message.type = net::MatchType::Lobby;
    message.lobby = List(nowMs, net::kMaxLobbyGames);
    return net::EncodeMatch(message);  // only what fits one frame
}

net::LobbyGame Lobby::Entry(const Room& room, uint64_t nowMs) const {
    net::LobbyGame game;
    game.code = room.Code();
    if (room.state == Room::State::Waiting) {
        const size_t host = Room::Index(room.HostSide());
        const PlayerIdentity& waiting = room.identity[host];
        game.freeSide = net::OtherSide(room.HostSide());
        game.seconds = Seconds(room.createdAt, nowMs);
        game.rating = waiting.Known() ? Saturated(std::lround(Rating(waiting))) : 0;
        game.names[host] = waiting.name;
    } else {
        game.live = true;
        game.seconds = Seconds(room.startedAt, nowMs);
        game.ticks = room.history.Confirmed();
        game.spectators = Saturated(room.spectators.size());
        game.names = {room.identity[0].name, room.identity[1].name};
    }
    return game;
}

// The rooms are ranked by a few numbers first; only the games listed are
// built (a copy for watchers lists a few dozen of thousands).
net::LobbyList Lobby::List(uint64_t nowMs, size_t limit) const {
    struct Rank {
        bool live;
        uint64_t since;  // open: created (earliest first)
        size_t spectators;
        uint32_t ticks;
        const Room* room;
        bool operator<(const Rank& o) const {
            if (live != o.live) return !live;
            if (!live) return std::tie(since, room->Code()) < std::tie(o.since, o.room->Code());
            return std::tie(o.spectators, o.ticks, room->Code()) <
                   std::tie(spectators, ticks, o.room->Code());
        }
    };
    std::vector<Rank> ranks;
    ranks.reserve(rooms.size());
    size_t live = 0;
    for (const Room* room : rooms) {
        if (room->state == Room::State::Over) continue;  // no longer shown
        const bool playing = room->state == Room::State::Playing;
        live += playing ? 1 : 0;
        ranks.push_back(
            {playing, room->createdAt, room->spectators.size(), room->history.Confirmed(), room});
    }
    net::LobbyList list;
    list.openGames = Saturated(ranks.size() - live);
    list.liveGames = Saturated(live);
    const size_t listed = std::min(limit, ranks.size());
    std::partial_sort(ranks.begin(), ranks.begin() + static_cast<long>(listed), ranks.end());
    list.games.reserve(listed);
    for (size_t i = 0; i < listed; ++i) list.games.push_back(Entry(*ranks[i].room, nowMs));
    return list;
}

const LobbyPage::Page& Lobby::Page(uint64_t nowMs) {
    if (page.Fresh(version, nowMs)) return page.Current();
    return page.Build(List(nowMs), version, nowMs);
}

}  // namespace qx::server
