#pragma once

#include <memory>
#include <pqxx/connection>
#include <pqxx/transaction>

#include "server/GameStore.h"

namespace qx::server {

// The history in PostgreSQL through libpqxx, shared by every server of a
// fleet: the same tables as SQLite's, migrated under an advisory lock (many
// servers may start at once), ratings read with their rows locked (two
// servers may keep games of one player at once). A lost connection closes
// the store; the history opens it again on its next try.
class PostgresStore : public GameStore {
  public:
    explicit PostgresStore(std::string url);
    ~PostgresStore() override;
    PostgresStore(const PostgresStore&) = delete;
    PostgresStore& operator=(const PostgresStore&) = delete;

    OpenResult Open(std::string& error) override;
    bool IsOpen() const override;
    void Close() override;
    std::string Where() const override;
    bool DropReplaysBefore(int64_t before, std::string& error) override;
    bool Replay(int64_t gameId, std::optional<std::string>& data) override;

    // The URL with a time limit on connecting added when it has none, so
    // that an unreachable database never holds a thread for long.
    static std::string WithTimeouts(const std::string& url);
    // The URL with its password hidden.
    static std::string Redacted(const std::string& url);
    // False when the server has hung up on an idle connection (it says why
    // before it closes, and an idle connection is otherwise sent nothing):
    // checked before each use, as libpqxx 6 leaks the reply of a query
    // sent on such a connection.
    static bool StillConnected(const pqxx::connection& connection);

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
    bool LiveServers(int64_t withinMs, std::vector<ServerRecord>& servers) override;

  private:
    // Runs `step`, turning what libpqxx throws into false and `error`; a
    // broken connection closes the store.
    template <class Step>
    bool Guard(std::string& error, Step step);
    bool Migrate(std::string& error);

    std::string url;
    std::unique_ptr<pqxx::connection> connection;
    std::unique_ptr<pqxx::work> tx;  // Keep's transaction while it runs
};

}  // namespace qx::server
