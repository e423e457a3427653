#include "Effects.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ArtRandom.h"
#include "Noise.h"

namespace artgen {
namespace {

bool Allowed(const Shape* clip, int x, int y) {
    return clip == nullptr || clip->At(x, y);
}

struct Node {
    float x;
    float y;
};

// A path from a to b whose midpoints are pushed sideways, level by level.
std::vector<Node> JaggedPath(Node a, Node b, int levels, float roughness, ArtRandom& rng) {
    std::vector<Node> path = {a, b};
    float spread = roughness;
    for (int level = 0; level < levels; ++level) {
        std::vector<Node> next;
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            const Node p = path[i], q = path[i + 1];
            const float dx = q.x - p.x, dy = q.y - p.y;
            const float len = std::max(std::sqrt(dx * dx + dy * dy), 0.001f);
            const float push = rng.Range(-spread, spread) * len;
            next.push_back(p);
            next.push_back({(p.x + q.x) / 2 - dy / len * push, (p.y + q.y) / 2 + dx / len * push});
        }
        next.push_back(path.back());
        path = next;
        spread *= 0.7f;
    }
    return path;
}

// Calls visit(x, y) for every pixel along the bolt's path, segment by
// segment, in order.
template <typename Visit>
void WalkPath(const std::vector<Node>& path, Visit visit) {
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        const Node p = path[i], q = path[i + 1];
        const int steps =
            static_cast<int>(std::max(std::fabs(q.x - p.x), std::fabs(q.y - p.y))) + 1;
        for (int s = 0; s <= steps; ++s) {
            const float t = static_cast<float>(s) / static_cast<float>(steps);
            visit(static_cast<int>(std::floor(p.x + (q.x - p.x) * t)),
                  static_cast<int>(std::floor(p.y + (q.y - p.y) * t)));
        }
    }
}

// A glow around the path first, then its bright core over it.
void StrokeBolt(Canvas& c, const Shape* clip, const std::vector<Node>& path, Rgb glow, float k) {
    WalkPath(path, [&](int x, int y) {
        const int nx[] = {-1, 1, 0, 0};
        const int ny[] = {0, 0, -1, 1};
        for (int i = 0; i < 4; ++i)
            if (Allowed(clip, x + nx[i], y + ny[i])) c.Blend(x + nx[i], y + ny[i], glow, 0.3f * k);
    });
    WalkPath(path, [&](int x, int y) {
        if (Allowed(clip, x, y)) c.Blend(x, y, Mix(glow, Hex(0xFFFFFF), 0.75f), k);
    });
}

}  // namespace

Rgb Effects::Fire(float heat) {
    static const Rgb stops[] = {Hex(0x3C0802), Hex(0x9A1E04), Hex(0xE85A08),
                                Hex(0xFFA020), Hex(0xFFE060), Hex(0xFFFFE0)};
    return Ramp(stops, 6, heat);
}

void Effects::Burst(Canvas& c, const Shape* clip, float cx, float cy, float radius, uint32_t seed) {
    const Noise rays(seed);
    const int r = static_cast<int>(std::ceil(radius * 1.5f));
    for (int y = static_cast<int>(cy) - r; y <= static_cast<int>(cy) + r; ++y)
        for (int x = static_cast<int>(cx) - r; x <= static_cast<int>(cx) + r; ++x) {
            if (!Allowed(clip, x, y)) continue;
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            const float angle = std::atan2(dy, dx);
            // Ray length varies with the angle: a ragged star of flame.
            const float reach = radius * (0.65f + 0.6f * rays.Value(angle * 2.2f + 10, 3.7f));
            const float d = std::sqrt(dx * dx + dy * dy) / reach;
            if (d < 1.0f) {
                c.Blend(x, y, Fire(1.0f - d * 0.85f), std::min(1.0f, 1.6f - d));
            } else if (d < 1.45f) {
                c.Set(x, y, Mix(Scale(c.At(x, y), 0.45f), Hex(0x3A1A0C), 0.3f));  // scorch
            }
        }
}

void Effects::Lightning(Canvas& c, const Shape* clip, float x0, float y0, float x1, float y1,
                        Rgb glow, int branches, uint32_t seed) {
    ArtRandom rng(seed);
    const std::vector<Node> main = JaggedPath({x0, y0}, {x1, y1}, 4, 0.35f, rng);
    StrokeBolt(c, clip, main, glow, 1.0f);
    for (int b = 0; b < branches; ++b) {
        const Node from =
            main[static_cast<size_t>(rng.Between(2, static_cast<int>(main.size()) - 3))];
        const float dx = x1 - x0, dy = y1 - y0;
        const float len = std::sqrt(dx * dx + dy * dy) * rng.Range(0.25f, 0.45f);
        const float turn = rng.Range(-1.2f, 1.2f);
        const float base = std::atan2(dy, dx) + turn;
        const Node to = {from.x + std::cos(base) * len, from.y + std::sin(base) * len};
        StrokeBolt(c, clip, JaggedPath(from, to, 3, 0.3f, rng), glow, 0.75f);
    }
}

void Effects::Spark(Canvas& c, const Shape* clip, int x, int y, Rgb color, float halo) {
    if (Allowed(clip, x, y)) c.Glow(x, y, color, 1.0f);
    const int nx[] = {-1, 1, 0, 0};
    const int ny[] = {0, 0, -1, 1};
    for (int i = 0; i < 4; ++i)
        if (Allowed(clip, x + nx[i], y + ny[i])) c.Glow(x + nx[i], y + ny[i], color, halo);
}

}  // namespace artgen
