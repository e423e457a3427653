#pragma once

#include <functional>
#include <string>

#include "server/GameHistory.h"

namespace qx::server {

// The history over HTTP (GET and HEAD):
//   /api/games[?player=NAME-OR-KEY-HASH][&limit=N]  recent games, newest first (JSON)
//   /api/leaderboard[?limit=N]                       rated players by rating (JSON)
//   /games/ID.replay                                 a game's replay file
//   /api/servers                                     the fleet's live servers (JSON;
//                                                    PostgreSQL only)
// Unknown games 404, malformed input 400, no history on this server 404.
// The answer comes through `reply` on the relay's thread, after the
// history's thread has read the database.
class HistoryRoutes {
  public:
    // False when `target` is none of these (the caller serves it otherwise).
    static bool Route(GameHistory* history, const std::string& target,
                      std::function<void(GameHistory::Answer)> reply);

    // The query's value of `key`, percent-decoded ("+" a space); false when
    // the query is malformed.
    static bool QueryValue(const std::string& query, const std::string& key, std::string& value);
};

}  // namespace qx::server
