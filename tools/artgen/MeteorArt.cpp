#include "MeteorArt.h"

#include <algorithm>
#include <cmath>

#include "Effects.h"
#include "Noise.h"

namespace artgen {
namespace {

constexpr float kCenter = 10.0f;
constexpr float kRadius = 9.4f;

struct Crater {
    float x, y, r;
};
const Crater kCraters[] = {{7, 12, 2.6f}, {13, 6.5f, 2.0f}, {13.5f, 13.5f, 1.7f}, {6, 6, 1.4f}};

// Light falling on the rock's surface at (x, y), from the upper left.
float Lighting(float x, float y) {
    const float nx = (x - kCenter) / kRadius, ny = (y - kCenter) / kRadius;
    const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
    float light = -0.55f * nx - 0.6f * ny + 0.58f * nz;
    for (const Crater& c : kCraters) {
        const float dx = (x - c.x) / c.r, dy = (y - c.y) / c.r;
        const float d = std::sqrt(dx * dx + dy * dy);
        if (d < 1)
            light += (0.55f * dx + 0.6f * dy) * 0.7f - 0.15f;  // the far wall catches the light
        else if (d < 1.35f)
            light += 0.12f - (0.55f * dx + 0.6f * dy) * 0.25f;  // raised rim
    }
    return std::clamp(0.22f + 0.85f * light, 0.15f, 1.1f);
}

}  // namespace

SpriteArt MeteorArt::Rock() {
    SpriteArt art{Canvas(20, 20, Hex(kBackground8)), Shape(20, 20)};
    art.shape.AddEllipse(kCenter, kCenter, kRadius, kRadius);
    const Noise n(207);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            if (!art.shape.At(x, y)) continue;
            const float px = x + 0.5f, py = y + 0.5f;
            const float grain = n.Fractal(px * 0.45f, py * 0.45f, 3);
            const Rgb albedo = Mix(Mix(Hex(0x3C5A2C), Hex(0x78A04A), grain), Hex(0x8A9A70),
                                   n.Value(px * 0.25f + 5, py * 0.25f) * 0.35f);
            Rgb c = Scale(albedo, Lighting(px, py) * 1.15f);
            if (art.shape.IsEdge(x, y)) c = Scale(c, 0.7f);
            art.image.Set(x, y, c);
        }
    art.image.Set(6, 5, Hex(0xC8E0A0));  // glint
    return art;
}

void MeteorArt::Add(ArtBook& book) {
    const SpriteArt rock = Rock();
    book.Image(207, rock.image, 8);
    book.Mask(208, rock.shape, 1);

    const struct {
        int id;
        float x, y;
    } marks[] = {{213, 6.5f, 7.5f}, {212, 13.5f, 12.5f}, {214, 11.5f, 5.0f}};
    for (const auto& m : marks) {
        Canvas c = rock.image;
        Effects::Burst(c, &rock.shape, m.x, m.y, 3.6f, 2000 + static_cast<uint32_t>(m.id));
        book.Image(m.id, c, 8);
    }

    // Bursting apart: wedges of rock pushed outwards with fire between them.
    Canvas c(20, 20, Hex(kBackground8));
    const Noise n(215);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            if (!rock.shape.At(x, y)) continue;
            const float dx = x + 0.5f - kCenter, dy = y + 0.5f - kCenter;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float angle = std::atan2(dy, dx) + (n.Value(r * 0.5f, 3) - 0.5f) * 0.6f;
            const float wedge = angle / 6.2831853f * 5 + 5;
            const float edge = std::fabs(wedge - std::round(wedge));  // 0 on a crack
            const float shift = 2.2f;
            const int sx = static_cast<int>(std::lround(x - dx / std::max(r, 0.1f) * shift));
            const int sy = static_cast<int>(std::lround(y - dy / std::max(r, 0.1f) * shift));
            const bool crack = edge < 0.09f + 0.05f * (1 - r / kRadius) || r < 3.2f;
            if (!crack && rock.shape.At(sx, sy)) {
                c.Set(x, y, rock.image.At(sx, sy));
            } else {
                c.Set(x, y, Effects::Fire(std::clamp(1.05f - r / kRadius * 0.8f, 0.2f, 1.0f)));
            }
        }
    book.Image(215, c, 8);
}

}  // namespace artgen
