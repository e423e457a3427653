#include "ShotArt.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "PartMap.h"
#include "ShipShading.h"

namespace artgen {
namespace {

Canvas Blank(int w, int h) {
    return Canvas(w, h, Hex(kBackground8));
}

void FillPart(Canvas& c, const PartMap& map, char part, Rgb color) {
    for (int y = 0; y < map.Height(); ++y)
        for (int x = 0; x < map.Width(); ++x)
            if (map.At(x, y) == part) c.Set(x, y, color);
}

// The picture of a glowing thing: intensity 0..1 per pixel through a colour
// ramp; pixels brighter than `cut` form the shape.
SpriteArt Glowing(int w, int h, const Rgb* ramp, int stops, float cut,
                  float (*field)(float, float)) {
    SpriteArt art{Blank(w, h), Shape(w, h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float v = field(x + 0.5f, y + 0.5f);
            if (v <= cut) continue;
            art.shape.Set(x, y, true);
            art.image.Set(x, y, Ramp(ramp, stops, (v - cut) / (1 - cut)));
        }
    return art;
}

float BoltField(float x, float y) {
    static const Noise n(77);
    const float hx = (x - 15.0f) / 4.5f, hy = (y - 5.0f) / 3.2f;
    const float head = 1.0f - std::sqrt(hx * hx + hy * hy);
    const float along = std::clamp(x / 15.0f, 0.0f, 1.0f);
    const float halfWidth = 0.6f + 1.9f * std::pow(along, 1.5f);
    const float wiggle = (n.Value(x * 0.6f, 0.5f) - 0.5f) * 1.2f;
    const float tail =
        (1.0f - std::fabs(y - 5.0f - wiggle * (1 - along)) / halfWidth) * (0.15f + 0.4f * along);
    return std::clamp(std::max(head * 1.4f, tail), 0.0f, 1.0f);
}

float BallField(float x, float y) {
    static const Noise n(88);
    const float dx = x - 10.0f, dy = y - 10.0f;
    const float r = std::sqrt(dx * dx + dy * dy) / 9.2f;
    if (r >= 1) return 0;
    const float swirl = std::sin(std::atan2(dy, dx) * 3 + r * 9) * 0.5f + 0.5f;
    const float core = std::pow(1 - r, 0.7f);
    return std::clamp(0.12f + core * 0.75f + swirl * 0.18f * r + (n.Value(x, y) - 0.5f) * 0.1f,
                      0.0f, 1.0f);
}

}  // namespace

SpriteArt ShotArt::Rocket() {
    PartMap m(20, 10);
    m.Paint(1, 6, 7, 'F');
    m.Paint(2, 6, 9, 'F');
    m.Paint(7, 6, 9, 'F');
    m.Paint(8, 6, 7, 'F');
    for (int y = 3; y <= 6; ++y) m.Paint(y, 6, y == 3 || y == 6 ? 16 : 18, 'B');
    m.Paint(4, 19, 19, 'N');
    m.Paint(5, 19, 19, 'N');
    m.Paint(4, 5, 5, 'E');
    m.Paint(5, 5, 5, 'E');
    m.Paint(3, 2, 4, 'x');
    m.Paint(6, 2, 4, 'x');
    m.Paint(4, 0, 1, 'x');
    m.Paint(5, 0, 1, 'x');
    m.Paint(4, 2, 4, 'X');
    m.Paint(5, 2, 4, 'X');
    SpriteArt art{Blank(20, 10), m.Silhouette()};
    const Rgb body[] = {Hex(0xF0F2F6), Hex(0xBEC2CA), Hex(0x868A96), Hex(0x50545E)};
    ShipShading::Cylinder(art.image, m.Region("BN"), body, 4);
    const Rgb fin[] = {Hex(0xA8ACB6), Hex(0x5C606C)};
    ShipShading::Cylinder(art.image, m.Region("F"), fin, 2);
    for (int y = 3; y <= 6; ++y)
        art.image.Set(14, y, Mix(art.image.At(14, y), Hex(0xD03030), 0.7f));
    FillPart(art.image, m, 'N', Hex(0x9A3A34));
    FillPart(art.image, m, 'E', Hex(0x3C3E46));
    FillPart(art.image, m, 'X', Hex(0xFFF0A0));
    FillPart(art.image, m, 'x', Hex(0xFF8A1C));
    art.image.Set(4, 4, Hex(0xFFFFE8));
    art.image.Set(4, 5, Hex(0xFFFFE8));
    return art;
}

SpriteArt ShotArt::PlasmaBolt() {
    const Rgb ramp[] = {Hex(0x0E4A18), Hex(0x1EA636), Hex(0x5AF064), Hex(0xC8FFB4), Hex(0xFFFFF0)};
    return Glowing(20, 10, ramp, 5, 0.1f, BoltField);
}

SpriteArt ShotArt::EnergyBall() {
    const Rgb ramp[] = {Hex(0x142C9C), Hex(0x2862F0), Hex(0x64A8FF), Hex(0xC8E8FF), Hex(0xFFFFFF)};
    return Glowing(20, 20, ramp, 5, 0.05f, BallField);
}

SpriteArt ShotArt::Pod() {
    Shape body(20, 20);
    body.AddEllipse(10, 8.5f, 4.3f, 8.0f);
    Shape fins(20, 20);
    fins.AddPolygon({{6, 10}, {2, 17}, {2.5f, 18.5f}, {7, 15}});
    fins.AddPolygon({{14, 10}, {18, 17}, {17.5f, 18.5f}, {13, 15}});
    SpriteArt art{Blank(20, 20), body};
    art.shape.Add(fins);
    art.shape.AddSpan(17, 8, 11);
    art.shape.AddSpan(18, 9, 10);
    const Rgb metal[] = {Hex(0x70747E), Hex(0xE8EAF0), Hex(0xB0B4BE), Hex(0x6A6E7A), Hex(0x383A44)};
    ShipShading::CylinderAcross(art.image, body, metal, 5);
    const Rgb finMetal[] = {Hex(0x9A9EA8), Hex(0x545862)};
    ShipShading::Cylinder(art.image, fins, finMetal, 2);
    for (int x = 8; x <= 11; ++x) art.image.Set(x, 17, Hex(0xFF9A2A));  // exhaust
    art.image.Set(9, 18, Hex(0xFFE070));
    art.image.Set(10, 18, Hex(0xFFE070));
    ShipShading::Outline(art.image, art.shape, Shape(20, 20), 0.7f);
    art.image.Set(10, 3, Hex(0x9CE0FF));  // window
    art.image.Set(9, 3, Hex(0x4C8CD0));
    art.image.Set(7, 9, Hex(0xFF4030));  // lights round the waist
    art.image.Set(10, 10, Hex(0xFFE040));
    art.image.Set(12, 9, Hex(0x40FF60));
    art.image.Set(3, 17, Hex(0xFF4030));
    art.image.Set(16, 17, Hex(0x40FF60));
    return art;
}

SpriteArt ShotArt::SmallPod() {
    Shape hull(20, 10);
    hull.AddEllipse(10, 6, 8.6f, 2.7f);
    Shape dome(20, 10);
    dome.AddEllipse(10, 4, 3.6f, 2.6f);
    SpriteArt art{Blank(20, 10), hull};
    art.shape.Add(dome);
    const Rgb metal[] = {Hex(0xE4E6EC), Hex(0xA4A8B2), Hex(0x666A76), Hex(0x3A3C46)};
    ShipShading::Cylinder(art.image, hull, metal, 4);
    dome.Remove(hull);
    const Rgb glass[] = {Hex(0xB0E8FF), Hex(0x3C7CC8)};
    ShipShading::Cylinder(art.image, dome, glass, 2);
    ShipShading::Outline(art.image, art.shape, Shape(20, 10), 0.7f);
    const Rgb lights[] = {Hex(0xFF4030), Hex(0xFFE040), Hex(0x50F0FF), Hex(0xFFE040),
                          Hex(0xFF4030)};
    for (int i = 0; i < 5; ++i) art.image.Set(4 + 3 * i, 6, lights[i]);
    return art;
}

SpriteArt ShotArt::Capsule() {
    Shape s(20, 10);
    s.AddEllipse(5.5f, 5, 3.5f, 3.2f);
    s.AddEllipse(14.5f, 5, 3.5f, 3.2f);
    for (int y = 2; y <= 7; ++y) s.AddSpan(y, 5, 14);
    SpriteArt art{Blank(20, 10), s};
    const Rgb red[] = {Hex(0xFFA898), Hex(0xF03C30), Hex(0xB81C20), Hex(0x700E16)};
    ShipShading::Cylinder(art.image, s, red, 4);
    for (int y = 2; y <= 7; ++y)
        for (int x = 9; x <= 10; ++x)
            if (s.At(x, y)) art.image.Set(x, y, Mix(art.image.At(x, y), Hex(0xE8E8F0), 0.7f));
    ShipShading::Outline(art.image, s, Shape(20, 10), 0.7f);
    art.image.Set(5, 3, Hex(0xFFF0E8));   // highlight
    art.image.Set(15, 4, Hex(0xFFE040));  // blinking light
    return art;
}

void ShotArt::Add(ArtBook& book) {
    const SpriteArt rocket = Rocket();
    book.Image(125, rocket.image, 8);
    book.Mask(126, rocket.shape, 1);
    const SpriteArt rocketLeft = rocket.Mirrored();
    book.Image(180, rocketLeft.image, 4);
    book.Mask(181, rocketLeft.shape, 1);

    const SpriteArt pod = Pod();
    book.Image(189, pod.image, 8);
    book.Mask(190, pod.shape, 1);
    const SpriteArt small = SmallPod();
    book.Image(191, small.image, 8);
    book.Mask(192, small.shape, 8);

    const SpriteArt bolt = PlasmaBolt();
    book.Image(185, bolt.image, 8);
    book.Mask(186, bolt.shape, 1);
    const SpriteArt boltLeft = bolt.Mirrored();
    book.Image(128, boltLeft.image, 4);
    book.Mask(129, boltLeft.shape, 4);

    const SpriteArt ball = EnergyBall();
    book.Image(187, ball.image, 8);
    book.Mask(188, ball.shape, 1);
    const SpriteArt capsule = Capsule();
    book.Image(193, capsule.image, 8);
    book.Mask(194, capsule.shape, 1);
}

}  // namespace artgen
