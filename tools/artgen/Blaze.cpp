#include "Blaze.h"

#include <algorithm>
#include <cmath>

#include "ArtRandom.h"
#include "Effects.h"
#include "Noise.h"

namespace artgen {

void Blaze::BurnHull(Canvas& c, const Shape& hull, float fx, float fy, float reach, uint32_t seed) {
    const Noise n(seed);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            if (!hull.At(x, y)) continue;
            const float dx = x - fx, dy = (y - fy) * 1.6f;
            const float d = std::sqrt(dx * dx + dy * dy) + (n.Value(x * 0.5f, y * 0.5f) - 0.5f) * 6;
            if (d < reach) {
                const float flicker = n.Fractal(x * 0.45f + 3, y * 0.7f, 2);
                const float heat =
                    std::clamp(0.25f + flicker * 0.9f - d / (reach + 8) * 0.3f, 0.0f, 1.0f);
                const Rgb charred = Mix(c.At(x, y), Hex(0x2A1E1C), 0.8f);
                c.Set(x, y, Mix(charred, Effects::Fire(heat), 0.35f + 0.65f * flicker));
            } else if (d < reach + 4) {
                c.Set(x, y, Mix(c.At(x, y), Hex(0x3A2418), 0.35f + (reach + 4 - d) * 0.1f));
            }
        }
}

void Blaze::Tongues(Canvas& c, const Shape& hull, float fx, float fy, float reach, int height,
                    uint32_t seed) {
    const Noise n(seed);
    for (int x = 0; x < c.Width(); ++x)
        for (int y = 1; y < c.Height(); ++y) {
            if (!hull.At(x, y) || hull.At(x, y - 1)) continue;
            const float dx = x - fx, dy = (y - fy) * 1.6f;
            if (std::sqrt(dx * dx + dy * dy) > reach) continue;
            const int h = static_cast<int>(height * (0.35f + 0.8f * n.Value(x * 0.6f, 1.5f)));
            for (int k = 1; k <= h; ++k) {
                if (hull.At(x, y - k)) break;
                const float heat = (1.0f - static_cast<float>(k) / (h + 1)) * 0.8f;
                c.Set(x, y - k, Effects::Fire(heat));
            }
        }
}

void Blaze::Ball(Canvas& c, float cx, float cy, float rx, float ry, float hollow, float strength,
                 uint32_t seed) {
    const Noise n(seed);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            const float wobble = 0.8f + 0.4f * n.Fractal(x * 0.3f, y * 0.3f, 2);
            const float r = std::sqrt(dx * dx + dy * dy) / wobble;
            if (r >= 1.0f) continue;
            float heat;
            if (hollow <= 0) {
                heat = std::pow(1.0f - r, 0.55f);
            } else {
                const float ring = std::fabs(r - hollow) / std::max(1.0f - hollow, 0.15f);
                heat = std::max(0.0f, 1.0f - ring * 1.3f);
                if (r < hollow) heat *= std::clamp(r / hollow * 1.5f - 0.6f, 0.0f, 1.0f);
            }
            heat *= strength * (0.75f + 0.4f * n.Value(x * 0.7f + 40, y * 0.7f));
            if (heat <= 0.05f) continue;
            c.Blend(x, y, Effects::Fire(std::min(heat, 1.0f)), std::min(1.0f, (1.0f - r) * 5));
        }
}

void Blaze::Smoke(Canvas& c, const Shape& where, float cx, float cy, float rx, float ry,
                  uint32_t seed) {
    const Noise n(seed);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            if (!where.At(x, y)) continue;
            const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            const float r = std::sqrt(dx * dx + dy * dy);
            if (r >= 1.0f) continue;
            const float v = n.Fractal(x * 0.35f, y * 0.35f, 3);
            const Rgb smoke = Mix(Hex(0x1E1A1A), Hex(0x5A4E4A), v);
            c.Set(x, y, Mix(smoke, c.At(x, y), r * r));
        }
}

void Blaze::Embers(Canvas& c, float cx, float cy, float rx, float ry, int count, float spread,
                   float heat, uint32_t seed) {
    ArtRandom rng(seed);
    int placed = 0;
    for (int tries = 0; placed < count && tries < count * 20; ++tries) {
        const float angle = rng.Range(0.0f, 6.2831853f);
        const float dist = spread * std::sqrt(rng.Range(0.15f, 1.0f));
        const int x = static_cast<int>(cx + std::cos(angle) * rx * dist);
        const int y = static_cast<int>(cy + std::sin(angle) * ry * dist);
        // Keep clear of the corners, which must stay background.
        const bool nearCornerX = x < 3 || x > c.Width() - 4;
        const bool nearCornerY = y < 3 || y > c.Height() - 4;
        if (!c.Inside(x, y) || (nearCornerX && nearCornerY)) continue;
        const float h = heat * rng.Range(0.55f, 1.0f);
        Effects::Spark(c, nullptr, x, y, Effects::Fire(h), 0.35f * h);
        ++placed;
    }
}

}  // namespace artgen
