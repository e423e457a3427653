#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/FinishedGame.h"
#include "server/GameOutcome.h"
#include "server/Glicko2.h"

namespace qx::server {

// The history of games and the players' ratings in one SQLite file (WAL),
// through SQLite's C API. The schema carries its version (user_version)
// and is brought up to date by the migrations when opened. Used from one
// thread (the history's writer).
class GameStore {
  public:
    enum class OpenResult { Ok, Unavailable, Damaged };

    GameStore() = default;
    ~GameStore();
    GameStore(const GameStore&) = delete;
    GameStore& operator=(const GameStore&) = delete;

    // Opens (creating) the file and migrates it. Unavailable: it cannot be
    // opened or written now (missing rights, locked, disk full; try later);
    // Damaged: it is no SQLite database or fails its check.
    OpenResult Open(const std::string& path, std::string& error);
    bool IsOpen() const { return db != nullptr; }
    void Close();

    // Keeps a game with its result, its replay and (rated) both ratings, in
    // one transaction. A game already kept (same id) is not kept twice.
    bool Keep(const FinishedGame& game, const GameOutcome& outcome, int64_t& gameId,
              std::string& error);
    // Drops the replays of games that ended before `before` (Unix ms).
    bool DropReplaysBefore(int64_t before, std::string& error);

    // JSON texts for the HTTP routes. `player`: a name or a key hash (64 hex
    // digits); empty: every player.
    std::string GamesJson(const std::string& player, int limit);
    std::string LeaderboardJson(int limit);
    // The replay of a game; nullopt when there is none.
    std::optional<std::string> Replay(int64_t gameId);

    static constexpr int kSchemaVersion = 1;

  private:
    bool Exec(const char* sql, std::string& error);
    bool Migrate(std::string& error);
    bool PlayerRating(const PlayerIdentity& who, int64_t& id, GlickoRating& rating,
                      std::string& error);
    std::string Error() const;

    sqlite3* db = nullptr;
    bool damaged = false;  // the last check found the file damaged
};

// A JSON string literal of `text` (valid UTF-8 assumed; controls escaped).
std::string JsonString(const std::string& text);

}  // namespace qx::server
