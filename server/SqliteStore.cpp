#include "server/SqliteStore.h"

namespace qx::server {
namespace {

// A prepared statement, finalized when it goes.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr); }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ok() const { return stmt != nullptr; }
    Statement& Text(int i, const std::string& v) {
        sqlite3_bind_text(stmt, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Blob(int i, const std::string& v) {
        sqlite3_bind_blob(stmt, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Int(int i, int64_t v) {
        sqlite3_bind_int64(stmt, i, v);
        return *this;
    }
    Statement& Real(int i, std::optional<double> v) {
        if (v) {
            sqlite3_bind_double(stmt, i, *v);
        } else {
            sqlite3_bind_null(stmt, i);
        }
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int Step() { return stmt ? sqlite3_step(stmt) : SQLITE_ERROR; }
    int64_t IntAt(int i) const { return sqlite3_column_int64(stmt, i); }
    double RealAt(int i) const { return sqlite3_column_double(stmt, i); }
    std::optional<double> MaybeAt(int i) const {
        if (sqlite3_column_type(stmt, i) == SQLITE_NULL) return std::nullopt;
        return RealAt(i);
    }
    std::string TextAt(int i) const {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, i));
        return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt, i))) : "";
    }

  private:
    sqlite3_stmt* stmt = nullptr;
};

}  // namespace

SqliteStore::~SqliteStore() {
    if (db) sqlite3_close_v2(db);
}

void SqliteStore::Close() {
    if (db) sqlite3_close_v2(db);
    db = nullptr;
}

std::string SqliteStore::Error() const {
    return db ? sqlite3_errmsg(db) : "no database";
}

bool SqliteStore::Exec(const std::string& sql, std::string& error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    error = message ? message : Error();
    sqlite3_free(message);
    return false;
}

GameStore::OpenResult SqliteStore::Open(std::string& error) {
    Close();
    const int opened =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (opened != SQLITE_OK) {
        error = path + ": " + Error();
        Close();
        return OpenResult::Unavailable;
    }
    sqlite3_busy_timeout(db, 200);
    std::string why;
    if (!Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;", why) ||
        !Migrate(why)) {
        const int code = sqlite3_errcode(db) & 0xFF;
        error = path + ": " + why;
        Close();
        return damaged || code == SQLITE_NOTADB || code == SQLITE_CORRUPT ? OpenResult::Damaged
                                                                          : OpenResult::Unavailable;
    }
    return OpenResult::Ok;
}

// The schema's version: the table's, or for a file of the first version,
// which kept it in user_version, that; -1 when it cannot be read.
int64_t SqliteStore::Version() {
    Statement table(db, "SELECT version FROM schema_version");
    if (table.Ok()) return table.Step() == SQLITE_ROW ? table.IntAt(0) : -1;
    Statement user(db, "PRAGMA user_version");
    return user.Step() == SQLITE_ROW ? user.IntAt(0) : -1;
}

bool SqliteStore::Migrate(std::string& error) {
    Statement check(db, "PRAGMA quick_check");
    damaged = false;
    const int checked = check.Step();
    if (checked != SQLITE_ROW || check.TextAt(0) != "ok") {
        damaged = checked == SQLITE_ROW;
        error = check.Ok() ? "the database fails its check: " + check.TextAt(0) : Error();
        return false;
    }
    const int64_t at = Version();
    if (at < 0) {
        error = Error();
        return false;
    }
    if (at > kSchemaVersion) {
        error = "the database is of a newer version (" + std::to_string(at) + ")";
        return false;
    }
    for (int64_t v = at; v < kSchemaVersion; ++v) {
        const std::string sql =
            "BEGIN IMMEDIATE;" + Migration(Dialect::Sqlite, static_cast<int>(v)) +
            "CREATE TABLE IF NOT EXISTS schema_version(version BIGINT NOT NULL);"
            "DELETE FROM schema_version; INSERT INTO schema_version VALUES(" +
            std::to_string(v + 1) + ");COMMIT;";
        if (!Exec(sql, error)) {
            Rollback();
            return false;
        }
    }
    return true;
}

bool SqliteStore::Begin(std::string& error) {
    return Exec("BEGIN IMMEDIATE", error);
}

bool SqliteStore::Commit(std::string& error) {
    return Exec("COMMIT", error);
}

void SqliteStore::Rollback() {
    std::string ignored;
    Exec("ROLLBACK", ignored);
}

bool SqliteStore::FindGame(const std::string& uid, std::optional<int64_t>& id, std::string& error) {
    Statement known(db, "SELECT id FROM games WHERE uid=?1");
    known.Text(1, uid);
    const int step = known.Step();
    if (step == SQLITE_ROW) id = known.IntAt(0);
    if (step == SQLITE_ROW || step == SQLITE_DONE) return true;
    error = Error();
    return false;
}

bool SqliteStore::PlayerRating(const PlayerIdentity& who, int64_t& id, GlickoRating& rating,
                               std::string& error) {
    Statement upsert(db,
                     "INSERT INTO players(key_hash, name, rating, deviation, volatility) "
                     "VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT(key_hash) DO UPDATE SET name=?2");
    upsert.Text(1, who.keyHash).Text(2, who.name);
    upsert.Real(3, GlickoRating::kStart)
        .Real(4, GlickoRating::kStartDeviation)
        .Real(5, GlickoRating::kStartVolatility);
    Statement read(db, "SELECT id, rating, deviation, volatility FROM players WHERE key_hash=?1");
    read.Text(1, who.keyHash);
    if (upsert.Step() != SQLITE_DONE || read.Step() != SQLITE_ROW) {
        error = Error();
        return false;
    }
    id = read.IntAt(0);
    rating = {read.RealAt(1), read.RealAt(2), read.RealAt(3)};
    return true;
}

bool SqliteStore::Rate(int64_t id, const GlickoRating& rating, double score, std::string& error) {
    Statement update(db,
                     "UPDATE players SET rating=?1, deviation=?2, volatility=?3,"
                     " games=games+1, wins=wins+?4, losses=losses+?5, draws=draws+?6"
                     " WHERE id=?7");
    update.Real(1, rating.rating).Real(2, rating.deviation).Real(3, rating.volatility);
    update.Int(4, score == 1).Int(5, score == 0).Int(6, score == 0.5).Int(7, id);
    if (update.Step() == SQLITE_DONE) return true;
    error = Error();
    return false;
}

bool SqliteStore::Insert(const GameRecord& g, const std::string& replay, int64_t& id,
                         std::string& error) {
    Statement insert(db,
                     "INSERT INTO games(uid, code, started_at, ended_at, emperor_name, rebel_name,"
                     " emperor_key, rebel_key, emperor_before, emperor_after, rebel_before,"
                     " rebel_after, result, reason, rated, ticks, emperor_games, rebel_games,"
                     " checksum) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16,"
                     "?17,?18,?19)");
    insert.Text(1, g.uid).Text(2, g.code).Int(3, g.startedAt).Int(4, g.endedAt);
    insert.Text(5, g.names[0]).Text(6, g.names[1]).Text(7, g.keys[0]).Text(8, g.keys[1]);
    insert.Real(9, g.before[0]).Real(10, g.after[0]).Real(11, g.before[1]).Real(12, g.after[1]);
    insert.Text(13, g.result).Text(14, g.reason).Int(15, g.rated).Int(16, g.ticks);
    insert.Int(17, g.gamesWon[0]).Int(18, g.gamesWon[1]).Text(19, g.checksum);
    if (insert.Step() != SQLITE_DONE) {
        error = Error();
        return false;
    }
    id = sqlite3_last_insert_rowid(db);
    Statement data(db, "INSERT INTO replays(game_id, data) VALUES(?1, ?2)");
    data.Int(1, id).Blob(2, replay);
    if (data.Step() == SQLITE_DONE) return true;
    error = Error();
    return false;
}

bool SqliteStore::DropReplaysBefore(int64_t before, std::string& error) {
    Statement drop(db,
                   "DELETE FROM replays WHERE game_id IN (SELECT id FROM games WHERE ended_at<?1)");
    drop.Int(1, before);
    if (drop.Step() == SQLITE_DONE) return true;
    error = Error();
    return false;
}

bool SqliteStore::Games(const std::string& player, bool byKey, int limit,
                        std::vector<GameRecord>& games) {
    std::string sql =
        "SELECT id, ended_at, emperor_name, rebel_name, emperor_key, rebel_key, emperor_before,"
        " emperor_after, rebel_before, rebel_after, result, reason, rated, ticks, emperor_games,"
        " rebel_games, EXISTS(SELECT 1 FROM replays WHERE game_id=games.id) FROM games";
    if (!player.empty()) {
        sql += byKey ? " WHERE emperor_key=?1 OR rebel_key=?1"
                     : " WHERE emperor_name=?1 OR rebel_name=?1";
    }
    sql += " ORDER BY id DESC LIMIT ?2";
    Statement row(db, sql.c_str());
    if (!player.empty()) row.Text(1, player);
    row.Int(2, limit);
    int step = SQLITE_ROW;
    while ((step = row.Step()) == SQLITE_ROW) {
        GameRecord& g = games.emplace_back();
        g.id = row.IntAt(0);
        g.endedAt = row.IntAt(1);
        for (int s = 0; s < 2; ++s) {
            g.names[s] = row.TextAt(2 + s);
            g.keys[s] = row.TextAt(4 + s);
            g.before[s] = row.MaybeAt(6 + 2 * s);
            g.after[s] = row.MaybeAt(7 + 2 * s);
            g.gamesWon[s] = row.IntAt(14 + s);
        }
        g.result = row.TextAt(10);
        g.reason = row.TextAt(11);
        g.rated = row.IntAt(12) != 0;
        g.ticks = row.IntAt(13);
        g.hasReplay = row.IntAt(16) != 0;
    }
    return step == SQLITE_DONE;
}

bool SqliteStore::Leaderboard(int limit, std::vector<PlayerRecord>& players) {
    Statement row(db,
                  "SELECT name, key_hash, rating, deviation, volatility, games, wins, losses, draws"
                  " FROM players WHERE games>0 ORDER BY deviation>?1, rating DESC, id LIMIT ?2");
    row.Real(1, GlickoRating::kProvisionalDeviation).Int(2, limit);
    int step = SQLITE_ROW;
    while ((step = row.Step()) == SQLITE_ROW) {
        players.push_back({row.TextAt(0),
                           row.TextAt(1),
                           {row.RealAt(2), row.RealAt(3), row.RealAt(4)},
                           row.IntAt(5),
                           row.IntAt(6),
                           row.IntAt(7),
                           row.IntAt(8)});
    }
    return step == SQLITE_DONE;
}

bool SqliteStore::Replay(int64_t gameId, std::optional<std::string>& data) {
    Statement row(db, "SELECT data FROM replays WHERE game_id=?1");
    row.Int(1, gameId);
    const int step = row.Step();
    data.reset();
    if (step == SQLITE_ROW) data = row.TextAt(0);
    return step == SQLITE_ROW || step == SQLITE_DONE;
}

}  // namespace qx::server
