#include "server/HistoryRoutes.h"

#include <charconv>

#include "server/PlayerIdentity.h"
#include "server/ServerRegistry.h"

namespace qx::server {
namespace {

constexpr char kText[] = "text/plain; charset=utf-8";
constexpr int kDefaultLimit = 50;
constexpr int kMaxLimit = 200;

GameHistory::Answer Text(unsigned status, std::string body) {
    return {status, kText, std::move(body)};
}

// The JSON, or 503 when the database did not answer.
GameHistory::Answer Json(std::optional<std::string> body) {
    if (!body) return Text(503, "the history is unavailable\n");
    return {200, "application/json", std::move(*body)};
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool Decode(const std::string& text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%') {
            if (i + 2 >= text.size() || HexDigit(text[i + 1]) < 0 || HexDigit(text[i + 2]) < 0) {
                return false;
            }
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return true;
}

bool Limit(const std::string& query, int& limit) {
    std::string text;
    if (!HistoryRoutes::QueryValue(query, "limit", text)) return false;
    if (text.empty()) return true;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), limit);
    return ec == std::errc() && end == text.data() + text.size() && limit >= 1 &&
           limit <= kMaxLimit;
}

bool IsKeyHash(const std::string& text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// The player asked for: a key hash, or a name as the server keeps names.
bool Player(const std::string& query, std::string& player) {
    std::string raw, why;
    if (!HistoryRoutes::QueryValue(query, "player", raw)) return false;
    if (raw.empty() || IsKeyHash(raw)) {
        player = raw;
        return true;
    }
    return CleanName(raw, player, why);
}

}  // namespace

bool HistoryRoutes::QueryValue(const std::string& query, const std::string& key,
                               std::string& value) {
    value.clear();
    size_t pos = 0;
    while (pos < query.size()) {
        size_t end = query.find('&', pos);
        if (end == std::string::npos) end = query.size();
        const std::string pair = query.substr(pos, end - pos);
        const size_t equals = pair.find('=');
        std::string name, decoded;
        if (!Decode(pair.substr(0, equals), name)) return false;
        if (equals != std::string::npos && !Decode(pair.substr(equals + 1), decoded)) return false;
        if (name == key) value = decoded;
        pos = end + 1;
    }
    return true;
}

bool HistoryRoutes::Route(GameHistory* history, const std::string& target,
                          std::function<void(GameHistory::Answer)> reply) {
    const size_t mark = target.find('?');
    const std::string path = target.substr(0, mark);
    const std::string query = mark == std::string::npos ? "" : target.substr(mark + 1);
    const bool games = path == "/api/games", board = path == "/api/leaderboard";
    const bool replay = path.rfind("/games/", 0) == 0, servers = path == "/api/servers";
    if (!games && !board && !replay && !servers) return false;
    if (!history) {
        reply(Text(404, "this server keeps no history\n"));
        return true;
    }
    if (servers) {
        if (!GameStore::IsPostgresUrl(history->Where())) {
            reply(Text(404, "this server is in no fleet (no --database)\n"));
            return true;
        }
        history->Ask([](GameStore& s) { return Json(s.ServersJson(ServerRegistry::kGoneAfterMs)); },
                     std::move(reply));
        return true;
    }
    int limit = kDefaultLimit;
    std::string player;
    if (!Limit(query, limit) || (games && !Player(query, player))) {
        reply(Text(400, "bad query: player is a name or a key hash, limit 1-200\n"));
        return true;
    }
    if (games) {
        history->Ask([player, limit](GameStore& s) { return Json(s.GamesJson(player, limit)); },
                     std::move(reply));
        return true;
    }
    if (board) {
        history->Ask([limit](GameStore& s) { return Json(s.LeaderboardJson(limit)); },
                     std::move(reply));
        return true;
    }
    const std::string name = path.substr(7);
    const size_t digits = name.find_first_not_of("0123456789");
    int64_t id = 0;
    if (digits == 0 || digits > 18 || name.substr(digits) != ".replay" ||
        std::from_chars(name.data(), name.data() + digits, id).ec != std::errc()) {
        reply(Text(400, "a replay is /games/NUMBER.replay\n"));
        return true;
    }
    history->Ask(
        [id](GameStore& s) {
            std::optional<std::string> data;
            if (!s.Replay(id, data)) return Text(503, "the history is unavailable\n");
            if (!data) return Text(404, "no such game, or its replay is no longer kept\n");
            return GameHistory::Answer{200, "application/octet-stream", *data};
        },
        std::move(reply));
    return true;
}

}  // namespace qx::server
