#pragma once

#include <sqlite3.h>

#include "server/GameStore.h"

namespace qx::server {

// The history in one SQLite file (WAL), through SQLite's C API: the
// embedded default, with no set-up. A file of the first version (its
// version in PRAGMA user_version) is migrated like any other.
class SqliteStore : public GameStore {
  public:
    explicit SqliteStore(std::string path) : path(std::move(path)) {}
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    // Unavailable: missing rights, locked, disk full, a newer version;
    // Damaged: no SQLite database, or it fails its check.
    OpenResult Open(std::string& error) override;
    bool IsOpen() const override { return db != nullptr; }
    void Close() override;
    std::string Where() const override { return path; }
    bool DropReplaysBefore(int64_t before, std::string& error) override;
    bool Replay(int64_t gameId, std::optional<std::string>& data) override;

  protected:
    bool Begin(std::string& error) override;
    bool Commit(std::string& error) override;
    void Rollback() override;
    bool FindGame(const std::string& uid, std::optional<int64_t>& id, std::string& error) override;
    bool PlayerRating(const PlayerIdentity& who, int64_t& id, GlickoRating& rating,
                      std::string& error) override;
    bool Rate(int64_t id, const GlickoRating& rating, double score, std::string& error) override;
    bool Insert(const GameRecord& game, const std::string& replay, int64_t& id,
                std::string& error) override;
    bool Games(const std::string& player, bool byKey, int limit,
               std::vector<GameRecord>& games) override;
    bool Leaderboard(int limit, std::vector<PlayerRecord>& players) override;

  private:
    bool Exec(const std::string& sql, std::string& error);
    bool Migrate(std::string& error);
    int64_t Version();
    std::string Error() const;

    std::string path;
    sqlite3* db = nullptr;
    bool damaged = false;  // the last check found the file damaged
};

}  // namespace qx::server
