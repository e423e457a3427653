#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "server/FinishedGame.h"
#include "server/GameOutcome.h"
#include "server/Glicko2.h"

namespace qx::server {

// A game as the store keeps it (one row of `games`, and whether its replay
// is still there).
struct GameRecord {
    int64_t id = 0;
    std::string uid, code, checksum;
    int64_t startedAt = 0, endedAt = 0;
    std::array<std::string, 2> names, keys;  // Emperor, Rebel
    std::array<std::optional<double>, 2> before, after;
    std::array<int64_t, 2> gamesWon{};
    std::string result, reason;
    bool rated = false;
    int64_t ticks = 0;
    bool hasReplay = false;
};

// A player as the leaderboard shows them.
struct PlayerRecord {
    std::string name, key;
    GlickoRating rating;
    int64_t games = 0, wins = 0, losses = 0, draws = 0;
};

// A server of a fleet as its heartbeats left it.
struct ServerRecord {
    std::string id, address;
    int64_t capacity = 0, rooms = 0, players = 0;
    int64_t sinceBeatMs = 0;  // since its last heartbeat, by the database's clock
};

// The history of games and the players' ratings, behind one interface with
// two back ends: SQLite in one file (the embedded default) and PostgreSQL
// (shared by a fleet of servers). Both have the same tables, brought up to
// date by the same migrations (their version in `schema_version`), and
// answer the same questions; what a game does to the ratings is worked out
// here, once, over each back end's small steps. Used from one thread (the
// history's writer).
class GameStore {
  public:
    enum class OpenResult { Ok, Unavailable, Damaged };

    // The back end for `location`: a postgresql:// (or postgres://) URL, or
    // else the path of a SQLite file.
    static std::unique_ptr<GameStore> Make(const std::string& location);
    static bool IsPostgresUrl(const std::string& location);

    virtual ~GameStore() = default;

    // Opens (creating) and migrates. Unavailable: it cannot be reached or
    // written now (try later); Damaged: it is no database of ours, or newer.
    virtual OpenResult Open(std::string& error) = 0;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    // Where the store is, for messages (a URL without its password).
    virtual std::string Where() const = 0;

    // Keeps a game with its result, its replay and (rated) both ratings, in
    // one transaction. A game already kept (same id) is not kept twice.
    bool Keep(const FinishedGame& game, const GameOutcome& outcome, int64_t& gameId,
              std::string& error);
    // Drops the replays of games that ended before `before` (Unix ms).
    virtual bool DropReplaysBefore(int64_t before, std::string& error) = 0;

    // JSON texts for the HTTP routes; nullopt when the store cannot answer
    // now. `player`: a name or a key hash (64 hex digits); empty: every
    // player.
    std::optional<std::string> GamesJson(const std::string& player, int limit);
    std::optional<std::string> LeaderboardJson(int limit);
    // The replay of a game (nullopt in `data`: there is none); false when
    // the store cannot answer now.
    virtual bool Replay(int64_t gameId, std::optional<std::string>& data) = 0;

    // The fleet's servers that beat within the last `withinMs`, as JSON;
    // nullopt when the store cannot answer (or keeps no fleet: SQLite).
    std::optional<std::string> ServersJson(int64_t withinMs);

    static constexpr int kSchemaVersion = 2;

  protected:
    enum class Dialect { Sqlite, Postgres };
    // Migration `v` (0-based: from version v to v + 1) in the dialect.
    static std::string Migration(Dialect dialect, int v);

    // The steps of Keep, inside Begin ... Commit (Rollback on any failure).
    virtual bool Begin(std::string& error) = 0;
    virtual bool Commit(std::string& error) = 0;
    virtual void Rollback() = 0;
    virtual bool FindGame(const std::string& uid, std::optional<int64_t>& id,
                          std::string& error) = 0;
    // The player's row (made on first sight, its name the latest one used),
    // locked until the transaction ends.
    virtual bool PlayerRating(const PlayerIdentity& who, int64_t& id, GlickoRating& rating,
                              std::string& error) = 0;
    virtual bool Rate(int64_t id, const GlickoRating& rating, double score, std::string& error) = 0;
    virtual bool Insert(const GameRecord& game, const std::string& replay, int64_t& id,
                        std::string& error) = 0;
    // The questions' rows, newest game first / by rating.
    virtual bool Games(const std::string& player, bool byKey, int limit,
                       std::vector<GameRecord>& games) = 0;
    virtual bool Leaderboard(int limit, std::vector<PlayerRecord>& players) = 0;
    virtual bool LiveServers(int64_t /*withinMs*/, std::vector<ServerRecord>& /*servers*/) {
        return false;
    }
};

// A JSON string literal of `text` (valid UTF-8 assumed; controls escaped).
std::string JsonString(const std::string& text);
// Unix milliseconds as an ISO 8601 UTC time with milliseconds.
std::string IsoTime(int64_t unixMs);

}  // namespace qx::server
