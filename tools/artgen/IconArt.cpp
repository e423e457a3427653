#include "IconArt.h"

#include <algorithm>
#include <cmath>

#include "ShipShading.h"

namespace artgen {

namespace {

// The ship's parts, laid out on a 32 x 32 grid and scaled by k.
struct ShipParts {
    Shape hull, fin, wing, canopy, flame;
};

ShipParts ShipShapes(int size) {
    const float k = size / 32.0f;
    const auto scaled = [k](std::vector<Point> points) {
        for (Point& p : points) p = {p.x * k, p.y * k};
        return points;
    };
    ShipParts parts{Shape(size, size), Shape(size, size), Shape(size, size), Shape(size, size),
                    Shape(size, size)};
    parts.hull.AddPolygon(scaled(
        {{3, 13}, {7, 11}, {21, 11}, {27, 13}, {31.5f, 16}, {27, 19}, {20, 20}, {7, 20}, {3, 18}}));
    parts.fin.AddPolygon(scaled({{5, 12}, {6, 4}, {8.5f, 4}, {15, 12}}));
    parts.wing.AddPolygon(scaled({{11, 19}, {22, 19}, {12, 28}, {8.5f, 28}}));
    parts.canopy.AddEllipse(21.5f * k, 11.5f * k, 4.5f * k, 2.4f * k);
    parts.flame.AddEllipse(2.5f * k, 15.5f * k, 2.5f * k, 2 * k);
    return parts;
}

// Paints one grid cell (x, y) of the 32 x 32 design: k x k pixels.
void SetCell(Canvas& c, int x, int y, float k, Rgb colour) {
    for (int py = static_cast<int>(y * k); py < static_cast<int>((y + 1) * k); ++py)
        for (int px = static_cast<int>(x * k); px < static_cast<int>((x + 1) * k); ++px)
            c.Set(px, py, colour);
}

// The shape less its border: a pixel stays when its four (or, with
// `diagonals`, eight) neighbours are all inside.
Shape Eroded(const Shape& shape, bool diagonals) {
    Shape out(shape.Width(), shape.Height());
    for (int y = 0; y < shape.Height(); ++y)
        for (int x = 0; x < shape.Width(); ++x) {
            bool inside = shape.At(x, y) && shape.At(x - 1, y) && shape.At(x + 1, y) &&
                          shape.At(x, y - 1) && shape.At(x, y + 1);
            if (inside && diagonals)
                inside = shape.At(x - 1, y - 1) && shape.At(x + 1, y - 1) &&
                         shape.At(x - 1, y + 1) && shape.At(x + 1, y + 1);
            out.Set(x, y, inside);
        }
    return out;
}

// Darkens the outer `width` pixels of `silhouette` by k, except those in
// `keep`: the 32 px art's one-pixel outline, as thick at larger sizes.
void Outline(Canvas& c, const Shape& silhouette, const Shape& keep, int width, float k) {
    if (width <= 1) return ShipShading::Outline(c, silhouette, keep, k);
    Shape inner = silhouette;
    for (int i = 0; i < width; ++i) inner = Eroded(inner, i % 2 == 1);
    Shape ring = silhouette;
    ring.Remove(inner);
    ring.Remove(keep);
    ShipShading::Darken(c, ring, k);
}

}  // namespace

Canvas IconArt::Ship(int size) {
    const float k = size / 32.0f;
    Canvas c(size, size);
    ShipParts parts = ShipShapes(size);
    const Rgb white[] = {Hex(0xFFFFFF), Hex(0xE4E8F0), Hex(0xA8B0C4), Hex(0x606880)};
    ShipShading::Cylinder(c, parts.wing, white, 4);
    ShipShading::CylinderAcross(c, parts.fin, white + 1, 3);
    ShipShading::Cylinder(c, parts.hull, white, 4);
    const Rgb glass[] = {Hex(0xC8F0FF), Hex(0x3C7CD8), Hex(0x1A3A88)};
    parts.canopy.Remove(parts.hull);
    ShipShading::Cylinder(c, parts.canopy, glass, 3);
    for (int x = 6; x <= 26; ++x) SetCell(c, x, 16, k, Hex(0x2C64E0));
    parts.flame.Remove(parts.hull);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (parts.flame.At(x, y)) c.Set(x, y, x >= 2 * k ? Hex(0xC8E8FF) : Hex(0x4C8CF0));
    Outline(c, Silhouette(size), parts.flame, std::max(1, static_cast<int>(std::lround(k * 0.75f))),
            0.6f);
    SetCell(c, 7, 4, k, Hex(0xFF3C30));
    SetCell(c, 9, 27, k, Hex(0x50FF70));
    return c;
}

Shape IconArt::Silhouette(int size) {
    ShipParts parts = ShipShapes(size);
    Shape all = parts.hull;
    parts.canopy.Remove(parts.hull);
    for (const Shape* s : {&parts.fin, &parts.wing, &parts.canopy}) all.Add(*s);
    return all;
}

std::vector<uint32_t> IconArt::DesktopShip(int size) {
    constexpr int kSamples = 4;  // per pixel and axis
    const int large = size * kSamples;
    const Canvas art = Ship(large);
    Shape cover = Silhouette(large);
    ShipParts parts = ShipShapes(large);
    cover.Add(parts.flame);
    std::vector<uint32_t> argb(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgb sum;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const int px = x * kSamples + sx, py = y * kSamples + sy;
                    if (!cover.At(px, py)) continue;
                    sum = Sum(sum, art.At(px, py));
                    ++covered;
                }
            if (covered == 0) continue;
            const uint32_t alpha =
                static_cast<uint32_t>(std::lround(255.0f * covered / (kSamples * kSamples)));
            argb[static_cast<size_t>(y) * size + x] =
                alpha << 24 | Pack(Scale(sum, 1.0f / covered));
        }
    return argb;
}

Canvas IconArt::Emblem() {
    Canvas c(32, 32);
    const float cx = 16, cy = 16;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d > 15.2f) continue;
            if (d > 12.6f) {
                const float light = std::clamp(0.75f - (dx + dy) / 30, 0.3f, 1.0f);
                c.Set(x, y, Scale(Hex(0xE03428), light));
                continue;
            }
            if (d > 11.6f) continue;  // a black gap inside the ring
            // The five-pointed star, each point lit on one side.
            const float angle = std::atan2(dx, -dy);  // 0 straight up, clockwise
            const float sector = 6.2831853f / 5;
            float a = std::fmod(angle + 6.2831853f + sector / 2, sector) - sector / 2;
            const float outer = 10.8f, inner = 4.4f;
            const float t = std::fabs(a) / (sector / 2);
            const float edge = 1 / ((1 - t) / outer + t / inner);
            if (d <= edge) {
                const float axis = angle - a;  // direction of this point
                const float facet = axis + (a < 0 ? -sector / 4 : sector / 4);
                const float light = 0.5f + 0.5f * std::cos(facet + 0.785f);
                c.Set(x, y, Mix(Hex(0x8C1016), Hex(0xFF6A4A), light));
            } else {
                c.Set(x, y, Hex(0x2A0608));
            }
        }
    c.Set(16, 6, Hex(0xFFD0C0));
    return c;
}

void IconArt::Add(ArtBook& book) {
    book.Icon(113, Ship());
    book.Icon(132, Emblem());
}

}  // namespace artgen
