#pragma once

#include <cstdint>
#include <string>

#include "net/MatchProtocol.h"

namespace qx::server {

// The lobby as JSON for GET /api/lobby, cached: rebuilt when the lobby
// changed or after kMaxAgeSeconds, with an ETag that follows the body.
//   {"open_games":N,"live_games":N,
//    "open":[{"code","side" (the free one),"name","rating","waiting_s"}],
//    "live":[{"code","emperor","rebel","ticks","seconds","spectators"}]}
// Names are JSON strings (null: anonymous), ratings numbers (null: none).
class LobbyPage {
  public:
    static constexpr uint64_t kMaxAgeSeconds = 1;

    struct Page {
        std::string body;
        std::string etag;  // quoted
    };

    bool Fresh(uint64_t version, uint64_t nowMs) const;
    const Page& Build(const net::LobbyList& list, uint64_t version, uint64_t nowMs);
    const Page& Current() const { return page; }

    // `text` as a JSON string: quotes, backslashes, control characters and
    // the line and paragraph separators escaped.
    static std::string JsonString(const std::string& text);
    static std::string Json(const net::LobbyList& list);

  private:
    Page page;
    uint64_t builtVersion = 0;
    uint64_t builtAt = 0;
};

}  // namespace qx::server
