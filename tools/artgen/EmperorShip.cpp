#include "EmperorShip.h"

#include "ShipShading.h"

namespace artgen {
namespace {

constexpr int kWidth = 50;
constexpr int kHeight = 21;

void PaintHull(Canvas& c, const PartMap& map) {
    const Rgb hull[] = {Hex(0xF4F7FF), Hex(0xFFFFFF), Hex(0xE6EBF5),
                        Hex(0xC4CCDC), Hex(0x98A2BA), Hex(0x6A7290)};
    ShipShading::Cylinder(c, map.Region("H"), hull, 6);
    // The blue stripe along the flank, ending in a point behind the nose.
    for (int x = 7; x <= 41; ++x) c.Set(x, 11, Mix(Hex(0x2F6FE0), Hex(0x1A3F9A), (x - 7) / 60.0f));
    for (int x = 9; x <= 36; ++x) c.Set(x, 12, Mix(c.At(x, 12), Hex(0x1C3C8C), 0.55f));
    // Panel seams and a row of cabin windows.
    for (int y = 8; y <= 13; ++y) {
        c.Set(17, y, Scale(c.At(17, y), 0.86f));
        c.Set(30, y, Scale(c.At(30, y), 0.88f));
    }
    // The nose cone is a slightly bluish radome.
    for (int y = 8; y <= 13; ++y)
        for (int x = 44; x < kWidth; ++x)
            if (map.At(x, y) == 'H') c.Set(x, y, Mix(c.At(x, y), Hex(0x8FA6D0), 0.35f));
}

void PaintFinAndWing(Canvas& c, const PartMap& map) {
    const Rgb fin[] = {Hex(0xAEB6C8), Hex(0xE8ECF4), Hex(0xFFFFFF)};
    ShipShading::CylinderAcross(c, map.Region("F"), fin, 3);
    for (int y = 1; y <= 6; ++y) c.Set(7 + y, y, Hex(0x4C8CF0));  // blue leading edge
    const Rgb wing[] = {Hex(0xF0F3FA), Hex(0xC8CFDD), Hex(0x8E97AE)};
    ShipShading::Cylinder(c, map.Region("W"), wing, 3);
    for (int y = 15; y <= 19; ++y) {
        int right = -1;
        for (int x = 0; x < kWidth; ++x)
            if (map.At(x, y) == 'W') right = x;
        if (right >= 0) c.Set(right, y, Hex(0xFFFFFF));  // lit leading edge
    }
    for (int x = 11; x <= 16; ++x) c.Set(x, 18, Mix(c.At(x, 18), Hex(0x2F6FE0), 0.8f));
    const Rgb gun[] = {Hex(0xB0B6C2), Hex(0x6E7482), Hex(0x3E424C)};
    ShipShading::Cylinder(c, map.Region("G"), gun, 3);
}

void PaintCanopy(Canvas& c, const PartMap& map) {
    const Rgb glass[] = {Hex(0xC8F0FF), Hex(0x58A8E8), Hex(0x1E4C9C), Hex(0x102858)};
    ShipShading::Cylinder(c, map.Region("C"), glass, 4);
    c.Set(32, 4, Hex(0xFFFFFF));
    c.Set(33, 4, Hex(0xE8FAFF));
    c.Set(31, 5, Hex(0xB0E4FF));
}

void PaintEngine(Canvas& c, const PartMap& map, int lights) {
    const Rgb nozzle[] = {Hex(0x9AA0AE), Hex(0x5C6270), Hex(0x30343E)};
    ShipShading::Cylinder(c, map.Region("E"), nozzle, 3);
    for (int y = 9; y <= 12; ++y) c.Set(2, y, Hex(0x7FB8FF));  // glow inside the bell
    // The ion flame flickers: its strength differs in each light state.
    const float strength[] = {1.0f, 0.72f, 0.88f};
    const float k = strength[lights];
    const Rgb core = Mix(Hex(0x6FA8FF), Hex(0xF2FAFF), k);
    const Rgb outer = Mix(Hex(0x1838A0), Hex(0x5A9CFF), k);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (map.At(x, y) == 'X') c.Set(x, y, core);
            if (map.At(x, y) == 'x') c.Set(x, y, outer);
        }
}

void PaintLights(Canvas& c, int lights) {
    const Rgb redOn = Hex(0xFF3C30), redOff = Hex(0x7A2420);
    const Rgb greenOn = Hex(0x50FF70), greenOff = Hex(0x246A30);
    const Rgb fin = lights == 0 ? redOn : redOff;
    const Rgb tip = lights == 1 ? greenOn : greenOff;
    c.Set(7, 0, fin);
    c.Set(8, 0, Scale(fin, 0.8f));
    c.Set(9, 19, tip);
    c.Set(10, 19, Scale(tip, 0.8f));
    // Cabin windows chase from back to front.
    for (int i = 0; i < 3; ++i) {
        const int x = 20 + 3 * i;
        c.Set(x, 9, i == lights ? Hex(0x8CE8FF) : Hex(0x3A6E96));
    }
}

}  // namespace

PartMap EmperorShip::Layout() {
    PartMap m(kWidth, kHeight);
    m.Paint(0, 7, 8, 'L');
    for (int y = 1; y <= 6; ++y) m.Paint(y, 6, 7 + y, 'F');
    const int hullRight[] = {38, 42, 45, 47, 49, 46, 42, 37};
    for (int y = 7; y <= 14; ++y) m.Paint(y, y == 14 ? 6 : 5, hullRight[y - 7], 'H');
    m.Paint(4, 31, 35, 'C');
    m.Paint(5, 29, 37, 'C');
    m.Paint(6, 28, 38, 'C');
    m.Paint(8, 3, 4, 'E');
    for (int y = 9; y <= 12; ++y) m.Paint(y, 2, 4, 'E');
    m.Paint(13, 3, 4, 'E');
    m.Paint(9, 1, 1, 'x');
    m.Paint(10, 0, 0, 'x');
    m.Paint(10, 1, 1, 'X');
    m.Paint(11, 0, 0, 'x');
    m.Paint(11, 1, 1, 'X');
    m.Paint(12, 1, 1, 'x');
    m.Paint(15, 32, 39, 'G');
    const int wingLeft[] = {13, 12, 11, 10, 9};
    const int wingRight[] = {30, 26, 22, 18, 14};
    for (int i = 0; i < 5; ++i) m.Paint(15 + i, wingLeft[i], wingRight[i], 'W');
    m.Paint(19, 9, 10, 'M');
    return m;
}

SpriteArt EmperorShip::Paint(int lights) {
    const PartMap map = Layout();
    SpriteArt art{Canvas(kWidth, kHeight, Hex(kBackground8)), map.Silhouette()};
    Canvas& c = art.image;
    PaintHull(c, map);
    PaintFinAndWing(c, map);
    PaintCanopy(c, map);
    PaintEngine(c, map, lights);
    ShipShading::SeamBelow(c, map.Region("WG"), map.Region("H"), 0.72f);
    ShipShading::SeamBelow(c, map.Region("H"), map.Region("C"), 0.8f);
    ShipShading::Outline(c, art.shape, map.Region("XxLM"), 0.68f);
    PaintLights(c, lights);
    return art;
}

}  // namespace artgen
