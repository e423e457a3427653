#include "IconArt.h"

#include <algorithm>
#include <cmath>

#include "ShipShading.h"

namespace artgen {

Canvas IconArt::Ship() {
    Canvas c(32, 32);
    Shape hull(32, 32), fin(32, 32), wing(32, 32), canopy(32, 32), flame(32, 32);
    hull.AddPolygon(
        {{3, 13}, {7, 11}, {21, 11}, {27, 13}, {31.5f, 16}, {27, 19}, {20, 20}, {7, 20}, {3, 18}});
    fin.AddPolygon({{5, 12}, {6, 4}, {8.5f, 4}, {15, 12}});
    wing.AddPolygon({{11, 19}, {22, 19}, {12, 28}, {8.5f, 28}});
    canopy.AddEllipse(21.5f, 11.5f, 4.5f, 2.4f);
    flame.AddEllipse(2.5f, 15.5f, 2.5f, 2);
    const Rgb white[] = {Hex(0xFFFFFF), Hex(0xE4E8F0), Hex(0xA8B0C4), Hex(0x606880)};
    ShipShading::Cylinder(c, wing, white, 4);
    ShipShading::CylinderAcross(c, fin, white + 1, 3);
    ShipShading::Cylinder(c, hull, white, 4);
    const Rgb glass[] = {Hex(0xC8F0FF), Hex(0x3C7CD8), Hex(0x1A3A88)};
    canopy.Remove(hull);
    ShipShading::Cylinder(c, canopy, glass, 3);
    for (int x = 6; x <= 26; ++x) c.Set(x, 16, Hex(0x2C64E0));
    flame.Remove(hull);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (flame.At(x, y)) c.Set(x, y, x >= 2 ? Hex(0xC8E8FF) : Hex(0x4C8CF0));
    Shape all = hull;
    for (const Shape* s : {&fin, &wing, &canopy}) all.Add(*s);
    ShipShading::Outline(c, all, flame, 0.6f);
    c.Set(7, 4, Hex(0xFF3C30));
    c.Set(9, 27, Hex(0x50FF70));
    return c;
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
