#include "server/Lobby.h"

#include <algorithm>
#include <cmath>
#include <tuple>

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
    message.lobby = List(nowMs);
    return net::EncodeMatch(message);  // only what fits one frame
}

net::LobbyList Lobby::List(uint64_t nowMs) const {
    net::LobbyList list;
    for (const Room* room : rooms) {
        net::LobbyGame game;
        game.code = room->Code();
        net::NetSide free;
        if (room->FreeSide(free)) {
            const PlayerIdentity& waiting = room->identity[Room::Index(room->HostSide())];
            game.freeSide = free;
            game.seconds = Seconds(room->createdAt, nowMs);
            game.rating = waiting.Known() ? Saturated(std::lround(Rating(waiting))) : 0;
            game.names[Room::Index(room->HostSide())] = waiting.name;
            ++list.openGames;
        } else if (room->state == Room::State::Playing) {
            game.live = true;
            game.seconds = Seconds(room->startedAt, nowMs);
            game.ticks = room->history.Confirmed();
            game.spectators = Saturated(room->spectators.size());
            game.names = {room->identity[0].name, room->identity[1].name};
            ++list.liveGames;
        } else {
            continue;  // over: no longer shown
        }
        list.games.push_back(std::move(game));
    }
    std::sort(list.games.begin(), list.games.end(),
              [](const net::LobbyGame& a, const net::LobbyGame& b) {
                  if (a.live != b.live) return !a.live;
                  if (!a.live) return std::tie(b.seconds, a.code) < std::tie(a.seconds, b.code);
                  return std::tie(b.spectators, b.ticks, a.code) <
                         std::tie(a.spectators, a.ticks, b.code);
              });
    return list;
}

const LobbyPage::Page& Lobby::Page(uint64_t nowMs) {
    if (page.Fresh(version, nowMs)) return page.Current();
    return page.Build(List(nowMs), version, nowMs);
}

}  // namespace qx::server
