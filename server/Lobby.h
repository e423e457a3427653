#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "net/MatchProtocol.h"
#include "server/LobbyPage.h"
#include "server/PlayerIdentity.h"

namespace qx::server {

class Connection;
class Room;

// The public rooms as a lobby: open games (a player waits for another) and
// live ones, listed for anyone over HTTP (Page) and sent to the match
// clients that watch it: the whole list when they ask, then a fresh copy
// after every change, at most one every kCoalesceMs, and every kRefreshMs
// while games are listed (their ticks and waiting times move). The match
// server tells it of rooms made public, changed and ended; it reads the
// rooms themselves when it builds a list.
class Lobby {
  public:
    static constexpr uint64_t kCoalesceMs = 250;
    static constexpr uint64_t kRefreshMs = 10'000;
    static constexpr size_t kMaxWatchers = 1000;
    // A watcher with this many bytes queued skips copies until it has caught up.
    static constexpr size_t kMaxBacklog = 16 * 1024;

    // The rating shown for a waiting player and used to pair quick matches
    // (a player without one counts as 1500; anonymous players have none).
    using RatingOf = std::function<double(const PlayerIdentity&)>;
    void SetRatings(RatingOf ratings) { ratingOf = std::move(ratings); }
    double Rating(const PlayerIdentity& who) const;

    void Add(const Room& room);
    // Something shown of the room may have changed (a no-op for private rooms).
    void Touch(const Room& room);
    void Remove(const Room& room);
    bool Lists(const Room& room) const { return rooms.count(&room) != 0; }

    // False when the lobby has as many watchers as it may take.
    bool Watch(Connection& c, uint64_t nowMs);
    void Forget(const Connection& c) { watchers.erase(const_cast<Connection*>(&c)); }
    bool Watching(const Connection& c) const {
        return watchers.count(const_cast<Connection*>(&c)) != 0;
    }
    size_t Watchers() const { return watchers.size(); }
    void Tick(uint64_t nowMs);

    // The public games, open ones first (longest waiting first), then live
    // ones (most watched first): all, or the first `limit` (the totals count all).
    net::LobbyList List(uint64_t nowMs, size_t limit = SIZE_MAX) const;
    // The list as JSON with its validator, rebuilt at most once a second
    // unless the lobby changed.
    const LobbyPage::Page& Page(uint64_t nowMs);

  private:
    net::LobbyGame Entry(const Room& room, uint64_t nowMs) const;
    void SendAll(uint64_t nowMs);
    std::vector<uint8_t> Frame(uint64_t nowMs) const;

    std::unordered_set<const Room*> rooms;
    std::unordered_set<Connection*> watchers;
    RatingOf ratingOf;
    LobbyPage page;
    uint64_t version = 1;  // counts changes
    bool dirty = false;    // changed since the watchers' last copy
    uint64_t lastSent = 0;
};

}  // namespace qx::server
