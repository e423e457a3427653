#include "GroundPainter.h"

#include <algorithm>
#include <cmath>

#include "ArtRandom.h"
#include "Noise.h"

namespace artgen {
namespace {

int HillTop(int x) {
    static const Noise n(1281);
    return 356 - static_cast<int>(30 * n.Fractal(x / 60.0f, 0.5f, 4));
}

void Hills(Canvas& c) {
    const Noise tex(1282);
    for (int x = 0; x < c.Width(); ++x) {
        const int top = HillTop(x);
        for (int y = top; y < c.Height(); ++y) {
            const float v = tex.Fractal(x / 18.0f, y / 10.0f, 3);
            const float nearTop = std::clamp(1.0f - (y - top) / 14.0f, 0.0f, 1.0f);
            Rgb col = Mix(Hex(0x15172A), Hex(0x24263E), v);
            col = Mix(col, Hex(0x2E3050), nearTop * 0.5f);
            if (y == top) col = Mix(col, Hex(0x484A6C), 0.6f);
            c.Set(x, y, col);
        }
    }
}

void Soil(Canvas& c) {
    const Noise strata(1283), grit(1284);
    for (int x = 0; x < c.Width(); ++x) {
        const int top = GroundPainter::Surface(x);
        for (int y = top; y < c.Height(); ++y) {
            const float depth = static_cast<float>(y - top) / static_cast<float>(c.Height() - top);
            const float s = strata.Fractal(x / 30.0f, y / 4.0f, 3);
            const float g = grit.Value(x * 0.9f, y * 0.9f);
            Rgb col = Mix(Hex(0x4A484E), Hex(0x747170), s);
            col = Mix(col, Hex(0x3A383E), depth * 0.35f);
            col = Scale(col, 0.92f + 0.16f * g);
            if (y == top) col = Hex(0x98989E);
            if (y == top + 1) col = Mix(col, Hex(0x88888E), 0.5f);
            c.Set(x, y, col);
        }
    }
}

// Boulders and stones: lit tops, shaded undersides, a shadow on the ground.
void Rocks(Canvas& c) {
    ArtRandom rng(1285);
    for (int i = 0; i < 140; ++i) {
        const float cx = static_cast<float>(rng.Below(c.Width()));
        const float rx = rng.Range(1.5f, 7.0f);
        const float ry = rx * rng.Range(0.35f, 0.6f);
        const int top = GroundPainter::Surface(static_cast<int>(cx));
        const float cy = top + ry + rng.Range(0.0f, static_cast<float>(c.Height() - top) - ry);
        const Rgb stone = Mix(Hex(0x5C5A5E), Hex(0x86827E), rng.Unit());
        for (int y = static_cast<int>(cy - ry - 1); y <= cy + ry + 2; ++y)
            for (int x = static_cast<int>(cx - rx - 1); x <= cx + rx + 2; ++x) {
                const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
                const float d = dx * dx + dy * dy;
                if (d <= 1) {
                    const float light = std::clamp(0.75f - 0.45f * dy - 0.2f * dx, 0.35f, 1.15f);
                    c.Set(x, y, Scale(stone, light));
                } else {
                    const float sx = (x + 0.5f - cx - rx * 0.3f) / rx,
                                sy = (y + 0.5f - cy - ry * 0.6f) / ry;
                    if (sx * sx + sy * sy <= 1) c.Set(x, y, Scale(c.At(x, y), 0.7f));
                }
            }
    }
}

void Craters(Canvas& c) {
    ArtRandom rng(1286);
    for (int i = 0; i < 14; ++i) {
        const float cx = static_cast<float>(rng.Below(c.Width()));
        const float rx = rng.Range(4.0f, 11.0f), ry = rx * 0.3f;
        const int top = GroundPainter::Surface(static_cast<int>(cx));
        const float cy = rng.Range(top + ry + 3, static_cast<float>(c.Height()) - ry);
        for (int y = static_cast<int>(cy - ry - 1); y <= cy + ry + 1; ++y)
            for (int x = static_cast<int>(cx - rx - 1); x <= cx + rx + 1; ++x) {
                const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
                const float d = std::sqrt(dx * dx + dy * dy);
                if (d < 0.8f)
                    c.Set(x, y, Scale(c.At(x, y), dy < 0 ? 0.55f : 0.85f));
                else if (d < 1.1f)
                    c.Set(x, y, Scale(c.At(x, y), dy < 0 ? 1.2f : 0.8f));
            }
    }
}

}  // namespace

int GroundPainter::Surface(int x) {
    static const Noise n(1280);
    return 368 + static_cast<int>(std::lround((n.Fractal(x / 45.0f, 0.5f, 3) - 0.5f) * 12));
}

void GroundPainter::Paint(Canvas& c) {
    Hills(c);
    Soil(c);
    Craters(c);
    Rocks(c);
}

}  // namespace artgen
