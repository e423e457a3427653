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

std::string LobbyPage::Json(const net::LobbyList& list) {
    std::string open, live;
    for (const net::LobbyGame& g : list.games) {
        std::string& out = g.live ? live : open;
        if (!out.empty()) out += ',';
        out += "{\"code\":\"" + g.code + '"';
        if (g.live) {
            out += ",\"emperor\":" + NameOrNull(g.names[0]) +
                   ",\"rebel\":" + NameOrNull(g.names[1]) +
                   ",\"ticks\":" + std::to_string(g.ticks) +
                   ",\"seconds\":" + std::to_string(g.seconds) +
                   ",\"spectators\":" + std::to_string(g.spectators) + '}';
        } else {
            const size_t waiting = g.freeSide == net::NetSide::Emperor ? 1 : 0;
            out += std::string(",\"side\":\"") + SideName(g.freeSide) +
                   "\",\"name\":" + NameOrNull(g.names[waiting]) +
                   ",\"rating\":" + (g.rating ? std::to_string(g.rating) : "null") +
                   ",\"waiting_s\":" + std::to_string(g.seconds) + '}';
        }
    }
    return "{\"open_games\":" + std::to_string(list.openGames) +
           ",\"live_games\":" + std::to_string(list.liveGames) + ",\"open\":[" + open +
           "],\"live\":[" + live + "]}\n";
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
