#include "server/LobbyPage.h"

#include <cstdio>
#include <functional>

namespace qx::server {
namespace {

const char* SideName(net::NetSide side) {
    return side == net::NetSide::Emperor ? "emperor" : "rebel";
}

std::string NameOrNull(const std::string& name) {
    return name.empty() ? "null" : LobbyPage::JsonString(name);
}

}  // namespace

std::string LobbyPage::JsonString(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // U+2028 and U+2029 (E2 80 A8/A9) end a line in JavaScript source.
        const bool separator = c == 0xE2 && i + 2 < text.size() &&
                               static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                               (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xA8;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F || separator) {
            const unsigned code =
                separator ? 0x2000u + static_cast<unsigned char>(text[i + 2]) - 0x80u : c;
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
            out += escaped;
            if (separator) i += 2;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + '"';
}

// Appended piece by piece into buffers sized up front: 10,000 games are
// some 800 KB of text.
std::string LobbyPage::Json(const net::LobbyList& list) {
    std::string open, live;
    open.reserve(list.games.size() * 96);
    live.reserve(list.games.size() * 96);
    const auto number = [](std::string& out, const char* key, uint32_t value) {
        out += key;
        out += std::to_string(value);
    };
    for (const net::LobbyGame& g : list.games) {
        std::string& out = g.live ? live : open;
        out += out.empty() ? "{\"code\":\"" : ",{\"code\":\"";
        out += g.code;
        if (g.live) {
            out += "\",\"emperor\":";
            out += NameOrNull(g.names[0]);
            out += ",\"rebel\":";
            out += NameOrNull(g.names[1]);
            number(out, ",\"ticks\":", g.ticks);
            number(out, ",\"seconds\":", g.seconds);
            number(out, ",\"spectators\":", g.spectators);
        } else {
            out += "\",\"side\":\"";
            out += SideName(g.freeSide);
            out += "\",\"name\":";
            out += NameOrNull(g.names[g.freeSide == net::NetSide::Emperor ? 1 : 0]);
            if (g.rating) {
                number(out, ",\"rating\":", g.rating);
            } else {
                out += ",\"rating\":null";
            }
            number(out, ",\"waiting_s\":", g.seconds);
        }
        out += '}';
    }
    std::string json;
    json.reserve(open.size() + live.size() + 80);
    number(json, "{\"open_games\":", list.openGames);
    number(json, ",\"live_games\":", list.liveGames);
    json += ",\"open\":[";
    json += open;
    json += "],\"live\":[";
    json += live;
    json += "]}\n";
    return json;
}

bool LobbyPage::Fresh(uint64_t version, uint64_t nowMs) const {
    return builtVersion == version && nowMs >= builtAt && nowMs - builtAt < kMaxAgeSeconds * 1000;
}

const LobbyPage::Page& LobbyPage::Build(const net::LobbyList& list, uint64_t version,
                                        uint64_t nowMs) {
    page.body = Json(list);
    char etag[24];
    std::snprintf(etag, sizeof etag, "\"%016zx\"", std::hash<std::string>{}(page.body));
    page.etag = etag;
    builtVersion = version;
    builtAt = nowMs;
    return page;
}

}  // namespace qx::server
