#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qx::server {

// The rooms of quick match waiting for a second player, with their player's
// rating. A player who asks joins the waiting one closest to its rating
// among those whose window holds it; the window is kStartWindow either way
// at first and widens by kWidenBy every kWidenEveryMs of waiting, so that
// after kAnyoneAfterMs anyone will do. Among equally close ones the
// longest waiting goes first.
class QuickMatchQueue {
  public:
    static constexpr double kStartWindow = 100;
    static constexpr double kWidenBy = 50;
    static constexpr uint64_t kWidenEveryMs = 5'000;
    static constexpr uint64_t kAnyoneAfterMs = 30'000;

    // How far from its rating a player who has waited this long may be paired.
    static double Window(uint64_t waitedMs);

    void Add(const std::string& code, double rating, uint64_t nowMs);
    void Remove(const std::string& code);
    // The code of the room a player with `rating` joins now; empty: none,
    // it waits in a room of its own.
    std::string Pick(double rating, uint64_t nowMs) const;
    size_t Size() const { return waiting.size(); }

  private:
    struct Waiting {
        std::string code;
        double rating;
        uint64_t since;
    };
    std::vector<Waiting> waiting;  // in the order they came
};

}  // namespace qx::server
