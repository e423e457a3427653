#include "server/GameStore.h"

#include <cstdio>

namespace qx::server {
namespace {

// Each migration takes the schema from the version before it to its own.
const char* const kMigrations[] = {
    // 1: players, games, their replays.
    "CREATE TABLE players("
    " id INTEGER PRIMARY KEY, key_hash TEXT NOT NULL UNIQUE, name TEXT NOT NULL,"
    " rating REAL NOT NULL, deviation REAL NOT NULL, volatility REAL NOT NULL,"
    " games INTEGER NOT NULL DEFAULT 0, wins INTEGER NOT NULL DEFAULT 0,"
    " losses INTEGER NOT NULL DEFAULT 0, draws INTEGER NOT NULL DEFAULT 0);"
    "CREATE TABLE games("
    " id INTEGER PRIMARY KEY, uid TEXT NOT NULL UNIQUE, code TEXT NOT NULL,"
    " started_at INTEGER NOT NULL, ended_at INTEGER NOT NULL,"
    " emperor_name TEXT NOT NULL, rebel_name TEXT NOT NULL,"
    " emperor_key TEXT NOT NULL, rebel_key TEXT NOT NULL,"
    " emperor_before REAL, emperor_after REAL, rebel_before REAL, rebel_after REAL,"
    " result TEXT NOT NULL, reason TEXT NOT NULL, rated INTEGER NOT NULL,"
    " ticks INTEGER NOT NULL, emperor_games INTEGER NOT NULL, rebel_games INTEGER NOT NULL,"
    " checksum TEXT NOT NULL);"
    "CREATE INDEX games_emperor_key ON games(emperor_key);"
    "CREATE INDEX games_rebel_key ON games(rebel_key);"
    "CREATE INDEX games_emperor_name ON games(emperor_name);"
    "CREATE INDEX games_rebel_name ON games(rebel_name);"
    "CREATE INDEX games_ended ON games(ended_at);"
    "CREATE TABLE replays(game_id INTEGER PRIMARY KEY REFERENCES games(id), data BLOB NOT NULL);",
};

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
    bool NullAt(int i) const { return sqlite3_column_type(stmt, i) == SQLITE_NULL; }
    std::string TextAt(int i) const {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, i));
        return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt, i))) : "";
    }

  private:
    sqlite3_stmt* stmt = nullptr;
};

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

std::string RatingJson(const Statement& row, int at) {
    return row.NullAt(at) ? "null" : Number(row.RealAt(at));
}

}  // namespace

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || c == '<' || c == '>' || c == '&') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

GameStore::~GameStore() {
    Close();
}

void GameStore::Close() {
    if (db) sqlite3_close_v2(db);
    db = nullptr;
}

std::string GameStore::Error() const {
    return db ? sqlite3_errmsg(db) : "no database";
}

bool GameStore::Exec(const char* sql, std::string& error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    error = message ? message : Error();
    sqlite3_free(message);
    return false;
}

GameStore::OpenResult GameStore::Open(const std::string& path, std::string& error) {
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

bool GameStore::Migrate(std::string& error) {
    Statement check(db, "PRAGMA quick_check");
    damaged = false;
    const int checked = check.Step();
    if (checked != SQLITE_ROW || check.TextAt(0) != "ok") {
        damaged = checked == SQLITE_ROW;
        error = check.Ok() ? "the database fails its check: " + check.TextAt(0) : Error();
        return false;
    }
    Statement version(db, "PRAGMA user_version");
    if (version.Step() != SQLITE_ROW) {
        error = Error();
        return false;
    }
    const int64_t at = version.IntAt(0);
    if (at > kSchemaVersion) {
        error = "the database is of a newer version (" + std::to_string(at) + ")";
        return false;
    }
    for (int64_t v = at; v < kSchemaVersion; ++v) {
        const std::string sql = std::string("BEGIN IMMEDIATE;") + kMigrations[v] +
                                "PRAGMA user_version=" + std::to_string(v + 1) + ";COMMIT;";
        if (!Exec(sql.c_str(), error)) {
            std::string ignored;
            Exec("ROLLBACK", ignored);
            return false;
        }
    }
    return true;
}

// The player's row (made on first sight, its name the latest one used) and
// rating.
bool GameStore::PlayerRating(const PlayerIdentity& who, int64_t& id, GlickoRating& rating,
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

bool GameStore::Keep(const FinishedGame& game, const GameOutcome& outcome, int64_t& gameId,
                     std::string& error) {
    if (!db) {
        error = "no database";
        return false;
    }
    if (!Exec("BEGIN IMMEDIATE", error)) return false;
    const auto fail = [&](std::string why) {
        error = std::move(why);
        std::string ignored;
        Exec("ROLLBACK", ignored);
        return false;
    };
    Statement known(db, "SELECT id FROM games WHERE uid=?1");
    known.Text(1, game.id);
    if (known.Step() == SQLITE_ROW) {
        gameId = known.IntAt(0);
        return Exec("COMMIT", error) || fail(error);
    }
    std::array<int64_t, 2> ids{};
    std::array<GlickoRating, 2> before, after;
    std::array<std::optional<double>, 2> shownBefore, shownAfter;
    for (size_t s = 0; s < 2; ++s) {
        if (game.players[s].Known() && !PlayerRating(game.players[s], ids[s], before[s], error)) {
            return fail(error);
        }
    }
    if (outcome.rated) {
        const double emperorScore = outcome.result == GameOutcome::Result::EmperorWon ? 1
                                    : outcome.result == GameOutcome::Result::Draw     ? 0.5
                                                                                      : 0;
        after[0] = RateGlicko2(before[0], {{before[1], emperorScore}});
        after[1] = RateGlicko2(before[1], {{before[0], 1 - emperorScore}});
        for (size_t s = 0; s < 2; ++s) {
            shownBefore[s] = before[s].rating;
            shownAfter[s] = after[s].rating;
            const double score = s == 0 ? emperorScore : 1 - emperorScore;
            Statement update(db,
                             "UPDATE players SET rating=?1, deviation=?2, volatility=?3,"
                             " games=games+1, wins=wins+?4, losses=losses+?5, draws=draws+?6"
                             " WHERE id=?7");
            update.Real(1, after[s].rating)
                .Real(2, after[s].deviation)
                .Real(3, after[s].volatility);
            update.Int(4, score == 1).Int(5, score == 0).Int(6, score == 0.5).Int(7, ids[s]);
            if (update.Step() != SQLITE_DONE) return fail(Error());
        }
    }
    Statement insert(db,
                     "INSERT INTO games(uid, code, started_at, ended_at, emperor_name, rebel_name,"
                     " emperor_key, rebel_key, emperor_before, emperor_after, rebel_before,"
                     " rebel_after, result, reason, rated, ticks, emperor_games, rebel_games,"
                     " checksum) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16,"
                     "?17,?18,?19)");
    char checksum[20];
    std::snprintf(checksum, sizeof checksum, "%016llx",
                  static_cast<unsigned long long>(outcome.checksum));
    insert.Text(1, game.id).Text(2, game.code).Int(3, game.startedAt).Int(4, game.endedAt);
    insert.Text(5, game.players[0].name).Text(6, game.players[1].name);
    insert.Text(7, game.players[0].keyHash).Text(8, game.players[1].keyHash);
    insert.Real(9, shownBefore[0]).Real(10, shownAfter[0]);
    insert.Real(11, shownBefore[1]).Real(12, shownAfter[1]);
    insert.Text(13, ResultText(outcome.result)).Text(14, outcome.reason).Int(15, outcome.rated);
    insert.Int(16, outcome.ticks).Int(17, outcome.emperorGames).Int(18, outcome.rebelGames);
    insert.Text(19, checksum);
    if (insert.Step() != SQLITE_DONE) return fail(Error());
    gameId = sqlite3_last_insert_rowid(db);
    Statement replay(db, "INSERT INTO replays(game_id, data) VALUES(?1, ?2)");
    replay.Int(1, gameId).Text(2, outcome.replay);
    if (replay.Step() != SQLITE_DONE) return fail(Error());
    return Exec("COMMIT", error) || fail(error);
}

bool GameStore::DropReplaysBefore(int64_t before, std::string& error) {
    Statement drop(db,
                   "DELETE FROM replays WHERE game_id IN (SELECT id FROM games WHERE ended_at<?1)");
    drop.Int(1, before);
    if (drop.Step() == SQLITE_DONE) return true;
    error = Error();
    return false;
}

std::string GameStore::GamesJson(const std::string& player, int limit) {
    static constexpr char kColumns[] =
        "SELECT id, strftime('%Y-%m-%dT%H:%M:%fZ', ended_at/1000.0, 'unixepoch'), emperor_name,"
        " rebel_name, emperor_key, rebel_key, emperor_before, emperor_after, rebel_before,"
        " rebel_after, result, reason, rated, ticks, emperor_games, rebel_games,"
        " EXISTS(SELECT 1 FROM replays WHERE game_id=games.id) FROM games";
    const bool byKey =
        player.size() == 64 && player.find_first_not_of("0123456789abcdef") == std::string::npos;
    std::string sql = kColumns;
    if (!player.empty()) {
        sql += byKey ? " WHERE emperor_key=?1 OR rebel_key=?1"
                     : " WHERE emperor_name=?1 OR rebel_name=?1";
    }
    sql += " ORDER BY id DESC LIMIT ?2";
    Statement row(db, sql.c_str());
    if (!player.empty()) row.Text(1, player);
    row.Int(2, limit);
    std::string json = "{\"games\":[";
    for (bool first = true; row.Step() == SQLITE_ROW; first = false) {
        if (!first) json += ',';
        json +=
            "{\"id\":" + std::to_string(row.IntAt(0)) + ",\"ended\":" + JsonString(row.TextAt(1));
        for (int s = 0; s < 2; ++s) {
            json += s == 0 ? ",\"emperor\":{" : ",\"rebel\":{";
            json += "\"name\":" + JsonString(row.TextAt(2 + s)) +
                    ",\"key\":" + JsonString(row.TextAt(4 + s)) +
                    ",\"rating_before\":" + RatingJson(row, 6 + 2 * s) +
                    ",\"rating_after\":" + RatingJson(row, 7 + 2 * s) +
                    ",\"games_won\":" + std::to_string(row.IntAt(14 + s)) + "}";
        }
        json +=
            ",\"result\":" + JsonString(row.TextAt(10)) +
            ",\"reason\":" + JsonString(row.TextAt(11)) +
            ",\"rated\":" + (row.IntAt(12) ? "true" : "false") +
            ",\"ticks\":" + std::to_string(row.IntAt(13)) + ",\"replay\":" +
            (row.IntAt(16) ? "\"/games/" + std::to_string(row.IntAt(0)) + ".replay\"" : "null") +
            "}";
    }
    return json + "]}\n";
}

std::string GameStore::LeaderboardJson(int limit) {
    Statement row(db,
                  "SELECT name, key_hash, rating, deviation, volatility, games, wins, losses, draws"
                  " FROM players WHERE games>0 ORDER BY deviation>?1, rating DESC LIMIT ?2");
    row.Real(1, GlickoRating::kProvisionalDeviation).Int(2, limit);
    std::string json = "{\"players\":[";
    int rank = 0;
    for (bool first = true; row.Step() == SQLITE_ROW; first = false) {
        const bool provisional = row.RealAt(3) > GlickoRating::kProvisionalDeviation;
        if (!first) json += ',';
        json += "{\"rank\":" + (provisional ? std::string("null") : std::to_string(++rank)) +
                ",\"name\":" + JsonString(row.TextAt(0)) + ",\"key\":" + JsonString(row.TextAt(1)) +
                ",\"rating\":" + Number(row.RealAt(2)) + ",\"deviation\":" + Number(row.RealAt(3)) +
                ",\"provisional\":" + (provisional ? "true" : "false") +
                ",\"games\":" + std::to_string(row.IntAt(5)) +
                ",\"wins\":" + std::to_string(row.IntAt(6)) +
                ",\"losses\":" + std::to_string(row.IntAt(7)) +
                ",\"draws\":" + std::to_string(row.IntAt(8)) + "}";
    }
    return json + "]}\n";
}

std::optional<std::string> GameStore::Replay(int64_t gameId) {
    Statement row(db, "SELECT data FROM replays WHERE game_id=?1");
    row.Int(1, gameId);
    if (row.Step() != SQLITE_ROW) return std::nullopt;
    return row.TextAt(0);
}

}  // namespace qx::server
