#include "SkyPainter.h"

#include <algorithm>
#include <cmath>

#include "ArtRandom.h"
#include "Noise.h"

namespace artgen {
namespace {

constexpr int kHorizon = 372;
constexpr int kGaugeStrip = 20;

void Gradient(Canvas& c) {
    const Rgb stops[] = {Hex(0x03040C), Hex(0x05071A), Hex(0x0B0E2A),
                         Hex(0x181A42), Hex(0x2C2452), Hex(0x46305E)};
    for (int y = 0; y < c.Height(); ++y) {
        const Rgb row = Ramp(stops, 6, static_cast<float>(y) / kHorizon);
        for (int x = 0; x < c.Width(); ++x) c.Set(x, y, row);
    }
}

void Nebula(Canvas& c) {
    const Noise shape(1271), tint(1272), detail(1273);
    for (int y = kGaugeStrip; y < kHorizon; ++y) {
        const float fadeIn = std::clamp((y - 30) / 50.0f, 0.0f, 1.0f);
        for (int x = 0; x < c.Width(); ++x) {
            const float centre = 150 + 0.22f * (x - 300);
            const float band = std::exp(-std::pow((y - centre) / 75.0f, 2.0f));
            const float v = shape.Fractal(x / 120.0f, y / 80.0f, 5);
            const float a = std::clamp((v - 0.42f) * 2.4f, 0.0f, 1.0f) * band * fadeIn;
            if (a <= 0) continue;
            const Rgb col =
                Mix(Hex(0x5A2A7A), Hex(0x1C5A78), tint.Fractal(x / 90.0f, y / 90.0f, 2));
            const float wisps = 0.6f + 0.6f * detail.Fractal(x / 25.0f, y / 18.0f, 3);
            c.Glow(x, y, col, a * 0.42f * wisps);
        }
    }
}

Rgb StarTint(ArtRandom& rng) {
    const float p = rng.Unit();
    if (p < 0.6f) return {1, 1, 1};
    if (p < 0.8f) return {0.72f, 0.84f, 1};
    if (p < 0.9f) return {1, 0.92f, 0.68f};
    if (p < 0.96f) return {1, 0.68f, 0.42f};
    return {1, 0.45f, 0.42f};
}

void Stars(Canvas& c) {
    ArtRandom rng(1270);
    for (int i = 0; i < 1300; ++i) {
        const int x = rng.Below(c.Width());
        const int y = rng.Below(kHorizon - 10);
        float b = 30 + 225 * std::pow(rng.Unit(), 3.2f);
        const Rgb tint = StarTint(rng);
        if (y < kGaugeStrip) b = std::min(b, 45.0f);  // only faint stars under the gauges
        b *= 1 - 0.55f * std::clamp((y - 270) / 90.0f, 0.0f, 1.0f);  // haze near the ground
        const Rgb color = Scale(tint, b);
        c.Glow(x, y, color, 1);
        if (b > 150) {
            for (int k = 0; k < 4; ++k)
                c.Glow(x + (k == 0) - (k == 1), y + (k == 2) - (k == 3), color, 0.28f);
        }
        if (b > 215 && y > kGaugeStrip + 4) {
            for (int d = 2; d <= 3; ++d) {
                const float a = d == 2 ? 0.3f : 0.14f;
                c.Glow(x + d, y, color, a);
                c.Glow(x - d, y, color, a);
                c.Glow(x, y + d, color, a);
                c.Glow(x, y - d, color, a);
            }
        }
    }
}

void Moon(Canvas& c) {
    const float cx = 482, cy = 82, r = 17;
    const Noise maria(1274);
    for (int y = static_cast<int>(cy - r - 6); y <= cy + r + 6; ++y)
        for (int x = static_cast<int>(cx - r - 6); x <= cx + r + 6; ++x) {
            const float dx = (x + 0.5f - cx) / r, dy = (y + 0.5f - cy) / r;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d > 1) {
                c.Glow(x, y, Hex(0x4A5070), std::max(0.0f, 0.35f * (1.35f - d)));  // faint halo
                continue;
            }
            const float nz = std::sqrt(1 - d * d);
            const float light = std::clamp(-0.75f * dx - 0.35f * dy + 0.55f * nz, 0.0f, 1.0f);
            const float m = maria.Fractal(dx * 2.5f + 3, dy * 2.5f + 3, 3);
            const Rgb surface =
                Mix(Hex(0xDCDAE6), Hex(0x8C8AA0), std::clamp((m - 0.4f) * 2.5f, 0.0f, 1.0f));
            c.Set(x, y, Sum(Scale(surface, 0.08f + 0.92f * std::pow(light, 0.8f)), Hex(0x06081A)));
        }
}

// The strip under the gauges shows as the gauges shorten: keep it dark even
// where faint stars happen to overlap.
void DimGaugeStrip(Canvas& c) {
    for (int y = 0; y < kGaugeStrip; ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const Rgb p = c.At(x, y);
            c.Set(x, y, {std::min(p.r, 44.0f), std::min(p.g, 44.0f), std::min(p.b, 48.0f)});
        }
}

}  // namespace

void SkyPainter::Paint(Canvas& c) {
    Gradient(c);
    Nebula(c);
    Stars(c);
    Moon(c);
    DimGaugeStrip(c);
}

}  // namespace artgen
