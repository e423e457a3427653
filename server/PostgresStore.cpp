#include "server/PostgresStore.h"

#include <poll.h>

#include <pqxx/pqxx>

#include "server/ServerRegistry.h"

namespace qx::server {
namespace {

// A nullable number as a parameter: libpqxx sends a null pointer as NULL.
struct MaybeNumber {
    explicit MaybeNumber(const std::optional<double>& v) {
        if (v) text = pqxx::to_string(*v);
    }
    const char* Get() const { return text.empty() ? nullptr : text.c_str(); }
    std::string text;
};

std::optional<double> Maybe(const pqxx::field& f) {
    if (f.is_null()) return std::nullopt;
    return f.as<double>();
}

}  // namespace

PostgresStore::PostgresStore(std::string u) : url(std::move(u)) {}

// The transaction goes before its connection (the members' order).
PostgresStore::~PostgresStore() = default;

std::string PostgresStore::WithTimeouts(const std::string& url) {
    if (url.find("connect_timeout=") != std::string::npos) return url;
    return url + (url.find('?') == std::string::npos ? "?" : "&") + "connect_timeout=3";
}

std::string PostgresStore::Redacted(const std::string& url) {
    const size_t start = url.find("://") + 3;
    const size_t at = url.find('@', start), colon = url.find(':', start);
    if (at == std::string::npos || colon == std::string::npos || colon > at) return url;
    return url.substr(0, colon + 1) + "***" + url.substr(at);
}

std::string PostgresStore::Where() const {
    return Redacted(url);
}

bool PostgresStore::IsOpen() const {
    return connection != nullptr;
}

void PostgresStore::Close() {
    tx.reset();
    connection.reset();
}

bool PostgresStore::StillConnected(const pqxx::connection& connection) {
    pollfd socket{connection.sock(), POLLIN, 0};
    return socket.fd >= 0 && ::poll(&socket, 1, 0) == 0;
}

template <class Step>
bool PostgresStore::Guard(std::string& error, Step step) {
    if (connection && !tx && !StillConnected(*connection)) {
        Close();
        error = "the database closed the connection";
        return false;
    }
    if (!connection) {
        error = "not connected";
        return false;
    }
    try {
        step();
        return true;
    } catch (const pqxx::broken_connection& e) {
        error = std::string("the connection is lost: ") + e.what();
        Close();
    } catch (const std::exception& e) {
        error = e.what();
        if (connection && !connection->is_open()) Close();
    }
    while (!error.empty() && (error.back() == '\n' || error.back() == ' ')) error.pop_back();
    return false;
}

GameStore::OpenResult PostgresStore::Open(std::string& error) {
    Close();
    try {
        connection = std::make_unique<pqxx::connection>(WithTimeouts(url));
    } catch (const std::exception& e) {
        error = Where() + ": " + e.what();
        while (!error.empty() && error.back() == '\n') error.pop_back();
        connection.reset();
        return OpenResult::Unavailable;
    }
    std::string why;
    if (!Migrate(why)) {
        error = Where() + ": " + why;
        Close();
        return OpenResult::Unavailable;
    }
    return OpenResult::Ok;
}

bool PostgresStore::Migrate(std::string& error) {
    bool newer = false;
    const bool ok = Guard(error, [&] {
        pqxx::work migrate(*connection);
        // One server at a time: the others find the schema up to date.
        migrate.exec("SELECT pg_advisory_xact_lock(29030)");
        migrate.exec("CREATE TABLE IF NOT EXISTS schema_version(version BIGINT NOT NULL)");
        const pqxx::result row = migrate.exec("SELECT version FROM schema_version");
        const int64_t at = row.empty() ? 0 : row[0][0].as<int64_t>();
        if (at > kSchemaVersion) {
            error = "the database is of a newer version (" + std::to_string(at) + ")";
            newer = true;
            return;
        }
        for (int64_t v = at; v < kSchemaVersion; ++v) {
            migrate.exec(Migration(Dialect::Postgres, static_cast<int>(v)));
        }
        migrate.exec("DELETE FROM schema_version");
        migrate.exec_params("INSERT INTO schema_version VALUES($1)", kSchemaVersion);
        migrate.commit();
    });
    return ok && !newer;
}

bool PostgresStore::Begin(std::string& error) {
    return Guard(error, [&] { tx = std::make_unique<pqxx::work>(*connection); });
}

bool PostgresStore::Commit(std::string& error) {
    return Guard(error, [&] {
        tx->commit();
        tx.reset();
    });
}

void PostgresStore::Rollback() {
    std::string ignored;
    Guard(ignored, [&] {
        if (tx) tx->abort();
        tx.reset();
    });
    tx.reset();
}

bool PostgresStore::FindGame(const std::string& uid, std::optional<int64_t>& id,
                             std::string& error) {
    return Guard(error, [&] {
        const pqxx::result row = tx->exec_params("SELECT id FROM games WHERE uid=$1", uid);
        if (!row.empty()) id = row[0][0].as<int64_t>();
    });
}

bool PostgresStore::PlayerRating(const PlayerIdentity& who, int64_t& id, GlickoRating& rating,
                                 std::string& error) {
    return Guard(error, [&] {
        tx->exec_params(
            "INSERT INTO players(key_hash, name, rating, deviation, volatility)"
            " VALUES($1, $2, $3, $4, $5) ON CONFLICT(key_hash) DO UPDATE SET name=$2",
            who.keyHash, who.name, GlickoRating::kStart, GlickoRating::kStartDeviation,
            GlickoRating::kStartVolatility);
        const pqxx::row row = tx->exec_params1(
            "SELECT id, rating, deviation, volatility FROM players WHERE key_hash=$1 FOR UPDATE",
            who.keyHash);
        id = row[0].as<int64_t>();
        rating = {row[1].as<double>(), row[2].as<double>(), row[3].as<double>()};
    });
}

bool PostgresStore::Rate(int64_t id, const GlickoRating& rating, double score, std::string& error) {
    return Guard(error, [&] {
        tx->exec_params0(
            "UPDATE players SET rating=$1, deviation=$2, volatility=$3, games=games+1,"
            " wins=wins+$4, losses=losses+$5, draws=draws+$6 WHERE id=$7",
            rating.rating, rating.deviation, rating.volatility, int{score == 1}, int{score == 0},
            int{score == 0.5}, id);
    });
}

bool PostgresStore::Insert(const GameRecord& g, const std::string& replay, int64_t& id,
                           std::string& error) {
    return Guard(error, [&] {
        const MaybeNumber eb(g.before[0]), ea(g.after[0]), rb(g.before[1]), ra(g.after[1]);
        id = tx->exec_params1(
                   "INSERT INTO games(uid, code, started_at, ended_at, emperor_name, rebel_name,"
                   " emperor_key, rebel_key, emperor_before, emperor_after, rebel_before,"
                   " rebel_after, result, reason, rated, ticks, emperor_games, rebel_games,"
                   " checksum) VALUES($1,$2,$3,$4,$5,$6,$7,$8,$9,$10,$11,$12,$13,$14,$15,$16,"
                   "$17,$18,$19) RETURNING id",
                   g.uid, g.code, g.startedAt, g.endedAt, g.names[0], g.names[1], g.keys[0],
                   g.keys[1], eb.Get(), ea.Get(), rb.Get(), ra.Get(), g.result, g.reason,
                   int{g.rated}, g.ticks, g.gamesWon[0], g.gamesWon[1], g.checksum)[0]
                 .as<int64_t>();
        tx->exec_params0("INSERT INTO replays(game_id, data) VALUES($1, $2)", id,
                         pqxx::binarystring(replay.data(), replay.size()));
    });
}

bool PostgresStore::DropReplaysBefore(int64_t before, std::string& error) {
    return Guard(error, [&] {
        pqxx::work drop(*connection);
        drop.exec_params0(
            "DELETE FROM replays WHERE game_id IN (SELECT id FROM games WHERE ended_at<$1)",
            before);
        drop.commit();
    });
}

bool PostgresStore::Games(const std::string& player, bool byKey, int limit,
                          std::vector<GameRecord>& games) {
    // Without a player, $1 is '' and the condition holds for every game
    // (the plan is made for the values given).
    const std::string sql =
        std::string(
            "SELECT id, ended_at, emperor_name, rebel_name, emperor_key, rebel_key,"
            " emperor_before, emperor_after, rebel_before, rebel_after, result, reason,"
            " rated, ticks, emperor_games, rebel_games,"
            " EXISTS(SELECT 1 FROM replays WHERE game_id=games.id) FROM games") +
        (byKey ? " WHERE $1='' OR emperor_key=$1 OR rebel_key=$1"
               : " WHERE $1='' OR emperor_name=$1 OR rebel_name=$1") +
        " ORDER BY id DESC LIMIT $2";
    std::string error;
    return Guard(error, [&] {
        pqxx::read_transaction read(*connection);
        const pqxx::result rows = read.exec_params(sql, player, limit);
        for (const pqxx::row& row : rows) {
            GameRecord& g = games.emplace_back();
            g.id = row[0].as<int64_t>();
            g.endedAt = row[1].as<int64_t>();
            for (int s = 0; s < 2; ++s) {
                g.names[s] = row[2 + s].as<std::string>();
                g.keys[s] = row[4 + s].as<std::string>();
                g.before[s] = Maybe(row[6 + 2 * s]);
                g.after[s] = Maybe(row[7 + 2 * s]);
                g.gamesWon[s] = row[14 + s].as<int64_t>();
            }
            g.result = row[10].as<std::string>();
            g.reason = row[11].as<std::string>();
            g.rated = row[12].as<int64_t>() != 0;
            g.ticks = row[13].as<int64_t>();
            g.hasReplay = row[16].as<bool>();
        }
    });
}

bool PostgresStore::Leaderboard(int limit, std::vector<PlayerRecord>& players) {
    std::string error;
    return Guard(error, [&] {
        pqxx::read_transaction read(*connection);
        const pqxx::result rows = read.exec_params(
            "SELECT name, key_hash, rating, deviation, volatility, games, wins, losses, draws"
            " FROM players WHERE games>0 ORDER BY deviation>$1, rating DESC, id LIMIT $2",
            GlickoRating::kProvisionalDeviation, limit);
        for (const pqxx::row& row : rows) {
            players.push_back({row[0].as<std::string>(),
                               row[1].as<std::string>(),
                               {row[2].as<double>(), row[3].as<double>(), row[4].as<double>()},
                               row[5].as<int64_t>(),
                               row[6].as<int64_t>(),
                               row[7].as<int64_t>(),
                               row[8].as<int64_t>()});
        }
    });
}

bool PostgresStore::Replay(int64_t gameId, std::optional<std::string>& data) {
    std::string error;
    data.reset();
    return Guard(error, [&] {
        pqxx::read_transaction read(*connection);
        const pqxx::result row =
            read.exec_params("SELECT data FROM replays WHERE game_id=$1", gameId);
        if (!row.empty()) data = pqxx::binarystring(row[0][0]).str();
    });
}

bool PostgresStore::LiveServers(int64_t withinMs, std::vector<ServerRecord>& servers) {
    std::string error;
    return Guard(error, [&] {
        pqxx::read_transaction read(*connection);
        const std::string now = ServerRegistry::NowMsSql();
        const pqxx::result rows = read.exec_params(
            "SELECT id, address, capacity, rooms, players, " + now +
                " - heartbeat_at FROM servers WHERE heartbeat_at > " + now + " - $1 ORDER BY id",
            withinMs);
        for (const pqxx::row& row : rows) {
            servers.push_back({row[0].as<std::string>(), row[1].as<std::string>(),
                               row[2].as<int64_t>(), row[3].as<int64_t>(), row[4].as<int64_t>(),
                               row[5].as<int64_t>()});
        }
    });
}

}  // namespace qx::server
