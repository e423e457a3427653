#include "server/Glicko2.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qx::server {
namespace {

constexpr double kScale = 173.7178;
constexpr double kEpsilon = 0.000001;

double G(double phi) {
    return 1.0 / std::sqrt(1.0 + 3.0 * phi * phi / (std::numbers::pi * std::numbers::pi));
}

double E(double mu, double muJ, double phiJ) {
    return 1.0 / (1.0 + std::exp(-G(phiJ) * (mu - muJ)));
}

// The new volatility by the Illinois algorithm (step 5 of the paper).
double NewVolatility(double phi, double sigma, double delta, double v, double tau) {
    const double a = std::log(sigma * sigma);
    const auto f = [&](double x) {
        const double ex = std::exp(x);
        const double d = phi * phi + v + ex;
        return ex * (delta * delta - phi * phi - v - ex) / (2.0 * d * d) - (x - a) / (tau * tau);
    };
    double A = a, B = 0;
    if (delta * delta > phi * phi + v) {
        B = std::log(delta * delta - phi * phi - v);
    } else {
        int k = 1;
        while (f(a - k * tau) < 0) ++k;
        B = a - k * tau;
    }
    double fA = f(A), fB = f(B);
    while (std::fabs(B - A) > kEpsilon) {
        const double C = A + (A - B) * fA / (fB - fA);
        const double fC = f(C);
        if (fC * fB <= 0) {
            A = B;
            fA = fB;
        } else {
            fA /= 2;
        }
        B = C;
        fB = fC;
    }
    return std::exp(A / 2);
}

}  // namespace

GlickoRating RateGlicko2(const GlickoRating& player, const std::vector<GlickoGame>& games,
                         double tau) {
    const double mu = (player.rating - GlickoRating::kStart) / kScale;
    const double phi = player.deviation / kScale;
    GlickoRating after = player;
    if (games.empty()) {
        after.deviation = std::sqrt(phi * phi + player.volatility * player.volatility) * kScale;
        return after;
    }
    double vInverse = 0, sum = 0;
    for (const GlickoGame& game : games) {
        const double muJ = (game.opponent.rating - GlickoRating::kStart) / kScale;
        const double phiJ = game.opponent.deviation / kScale;
        const double e = E(mu, muJ, phiJ);
        vInverse += G(phiJ) * G(phiJ) * e * (1 - e);
        sum += G(phiJ) * (game.score - e);
    }
    const double v = 1.0 / vInverse;
    const double sigma = NewVolatility(phi, player.volatility, v * sum, v, tau);
    const double phiStar = std::sqrt(phi * phi + sigma * sigma);
    const double phiNew = 1.0 / std::sqrt(1.0 / (phiStar * phiStar) + 1.0 / v);
    after.rating = GlickoRating::kStart + kScale * (mu + phiNew * phiNew * sum);
    after.deviation = std::min(kScale * phiNew, GlickoRating::kStartDeviation);
    after.volatility = sigma;
    return after;
}

}  // namespace qx::server
