#include "server/RatingBook.h"

#include <algorithm>
#include <cstdlib>

namespace qx::server {

double RatingBook::Of(const PlayerIdentity& who) const {
    auto it = known.find(who.keyHash);
    return it == known.end() ? kUnrated : it->second;
}

void RatingBook::WhenKnown(const PlayerIdentity& who, uint64_t nowMs, std::function<void()> then) {
    if (!who.Known() || !ask || known.count(who.keyHash)) {
        then();
        return;
    }
    const bool asked = std::any_of(waiting.begin(), waiting.end(),
                                   [&](const Waiting& w) { return w.keyHash == who.keyHash; });
    waiting.push_back({who.keyHash, nowMs, std::move(then)});
    if (!asked) {
        ask(who.keyHash, [this, hash = who.keyHash](std::optional<double> r) { Arrived(hash, r); });
    }
}

void RatingBook::Arrived(const std::string& keyHash, std::optional<double> rating) {
    known[keyHash] = rating.value_or(kUnrated);
    Run(keyHash);
}

// Runs (and drops) what waited for this player; a `then` may add waits.
void RatingBook::Run(const std::string& keyHash) {
    std::vector<Waiting> ready;
    auto split = std::stable_partition(waiting.begin(), waiting.end(),
                                       [&](const Waiting& w) { return w.keyHash != keyHash; });
    std::move(split, waiting.end(), std::back_inserter(ready));
    waiting.erase(split, waiting.end());
    for (Waiting& w : ready) w.then();
}

void RatingBook::Tick(uint64_t nowMs) {
    for (size_t i = 0; i < waiting.size(); ++i) {
        if (nowMs - waiting[i].since >= kWaitMs) {
            Run(waiting[i].keyHash);
            return;  // one player a tick: the list changed under us
        }
    }
}

std::optional<double> RatingBook::LatestRating(const std::string& json,
                                               const std::string& keyHash) {
    const std::string key = "\"key\":\"" + keyHash + "\"";
    const std::string after = "\"rating_after\":";
    for (size_t at = json.find(key); at != std::string::npos; at = json.find(key, at + 1)) {
        const size_t value = json.find(after, at);
        if (value == std::string::npos) break;
        const char* start = json.c_str() + value + after.size();
        char* end = nullptr;
        const double rating = std::strtod(start, &end);
        if (end != start) return rating;  // else null: an unrated game
    }
    return std::nullopt;
}

}  // namespace qx::server
