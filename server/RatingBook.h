#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "server/PlayerIdentity.h"

namespace qx::server {

// The players' ratings as the lobby and quick match need them, on the
// relay's thread: asked of the history (off this thread) when a player
// with a key says who it is, kept until that player's next game ends.
// A player without a key, or without a rating yet, counts as kUnrated.
class RatingBook {
  public:
    static constexpr double kUnrated = 1500;
    // How long a request waits for a rating before it counts as kUnrated.
    static constexpr uint64_t kWaitMs = 1000;

    using Reply = std::function<void(std::optional<double>)>;
    // Asks for the rating of the player with this key hash; the reply comes
    // later on the relay's thread (nullopt: none).
    using Ask = std::function<void(const std::string& keyHash, Reply reply)>;
    void SetAsk(Ask value) { ask = std::move(value); }

    double Of(const PlayerIdentity& who) const;
    // Runs `then` once the player's rating is known (at once when it is, it
    // has no key, or no history is kept), or after kWaitMs.
    void WhenKnown(const PlayerIdentity& who, uint64_t nowMs, std::function<void()> then);
    // The player's game ended: its rating is asked again next time.
    void Forget(const std::string& keyHash) { known.erase(keyHash); }
    void Tick(uint64_t nowMs);

    // The player's latest rating in a JSON list of games (GET /api/games of
    // one player, newest first): the first "rating_after" of its key.
    static std::optional<double> LatestRating(const std::string& gamesJson,
                                              const std::string& keyHash);

  private:
    struct Waiting {
        std::string keyHash;
        uint64_t since;
        std::function<void()> then;
    };
    void Arrived(const std::string& keyHash, std::optional<double> rating);
    void Run(const std::string& keyHash);

    Ask ask;
    std::unordered_map<std::string, double> known;
    std::vector<Waiting> waiting;
};

}  // namespace qx::server
