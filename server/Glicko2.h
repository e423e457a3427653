#pragma once

#include <vector>

namespace qx::server {

// Glicko-2 ratings (Mark Glickman, "Example of the Glicko-2 system"), on
// the Glicko scale: a new player is 1500 with deviation 350 and volatility
// 0.06. The server rates each game as a rating period of its own.
struct GlickoRating {
    static constexpr double kStart = 1500, kStartDeviation = 350, kStartVolatility = 0.06;
    // While the deviation is above this the rating is provisional (shown,
    // but marked, and left off the leaderboard's ranks).
    static constexpr double kProvisionalDeviation = 110;

    double rating = kStart;
    double deviation = kStartDeviation;
    double volatility = kStartVolatility;

    bool Provisional() const { return deviation > kProvisionalDeviation; }
};

struct GlickoGame {
    GlickoRating opponent;
    double score = 0;  // 1 win, 0.5 draw, 0 loss
};

// The player's rating after one rating period with these games (`tau`
// limits how fast the volatility changes). No games: only the deviation
// grows.
GlickoRating RateGlicko2(const GlickoRating& player, const std::vector<GlickoGame>& games,
                         double tau = 0.5);

}  // namespace qx::server
