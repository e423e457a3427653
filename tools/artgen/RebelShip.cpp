#include "RebelShip.h"

#include "ShipShading.h"

namespace artgen {
namespace {

constexpr int kWidth = 50;
constexpr int kHeight = 21;

void PaintHull(Canvas& c, const PartMap& map) {
    const Rgb hull[] = {Hex(0xFF9078), Hex(0xF04A3A), Hex(0xCC2626), Hex(0x961620), Hex(0x5E0C16)};
    ShipShading::Cylinder(c, map.Region("R"), hull, 5);
    // A darker armour belt along the belly and seams between the plates.
    for (int y = 12; y <= 13; ++y)
        for (int x = 11; x <= 34; ++x)
            if (map.At(x, y) == 'R') c.Set(x, y, Mix(c.At(x, y), Hex(0x3C3C48), 0.55f));
    // A pale stripe along the flank and a dark air intake at the back.
    for (int x = 12; x <= 38; ++x)
        if (map.At(x, 8) == 'R') c.Set(x, 8, Mix(c.At(x, 8), Hex(0xFFD8C8), 0.55f));
    for (int y = 9; y <= 11; ++y)
        for (int x = 10; x <= 13; ++x)
            c.Set(x, y, Mix(Hex(0x1E1E26), Hex(0x4A4A56), (y - 9) / 2.0f));
    for (int y = 7; y <= 13; ++y) {
        if (map.At(23, y) == 'R') c.Set(23, y, Scale(c.At(23, y), 0.78f));
        if (map.At(34, y) == 'R') c.Set(34, y, Scale(c.At(34, y), 0.8f));
    }
    // Bright ridges along both blades.
    for (int x = 36; x <= 47; ++x) {
        if (map.At(x, 9) == 'R') c.Set(x, 9, Mix(c.At(x, 9), Hex(0xFFB098), 0.35f));
        if (map.At(x, 13) == 'R') c.Set(x, 13, Mix(c.At(x, 13), Hex(0xF05040), 0.4f));
    }
}

void PaintPodsAndWing(Canvas& c, const PartMap& map) {
    const Rgb metal[] = {Hex(0xD0D4DE), Hex(0x9A9EAC), Hex(0x6C7080), Hex(0x40424E)};
    ShipShading::Cylinder(c, map.Region("P"), metal, 4);
    ShipShading::Cylinder(c, map.Region("F"), metal, 4);
    for (int x = 7; x <= 16; ++x) {
        c.Set(x, 5, Mix(c.At(x, 5), Hex(0xD02828), 0.75f));
        c.Set(x, 16, Mix(c.At(x, 16), Hex(0xB01E22), 0.75f));
    }
    const Rgb wing[] = {Hex(0xE04A3C), Hex(0xA8222A), Hex(0x64101A)};
    ShipShading::Cylinder(c, map.Region("Q"), wing, 3);
    for (int y = 15; y <= 19; ++y) {
        int right = -1;
        for (int x = 0; x < kWidth; ++x)
            if (map.At(x, y) == 'Q') right = x;
        if (right >= 0) c.Set(right, y, Hex(0xC8CCD6));  // metal leading edge
    }
}

void PaintCanopyAndEmitter(Canvas& c, const PartMap& map, int lights) {
    const Rgb glass[] = {Hex(0xFFF4B0), Hex(0xFFC846), Hex(0xE07E18), Hex(0x96440C)};
    ShipShading::Cylinder(c, map.Region("C"), glass, 4);
    c.Set(28, 4, Hex(0xFFFFFF));
    c.Set(26, 5, Hex(0xFFF8D0));
    const float glow[] = {0.8f, 0.65f, 1.0f};
    const Rgb emitter = Mix(Hex(0x1E7A2A), Hex(0xB4FFB4), glow[lights]);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (map.At(x, y) == 'V') c.Set(x, y, x == 39 ? emitter : Scale(emitter, 0.7f));
}

void PaintEngines(Canvas& c, const PartMap& map, int lights) {
    const Rgb nozzle[] = {Hex(0x8A8E9A), Hex(0x4A4C58), Hex(0x2A2A34)};
    ShipShading::Cylinder(c, map.Region("E"), nozzle, 3);
    const float strength[] = {1.0f, 0.7f, 0.86f};
    const float k = strength[lights];
    const Rgb core = Mix(Hex(0xFF9830), Hex(0xFFF6C8), k);
    const Rgb outer = Mix(Hex(0x8C2408), Hex(0xFF8020), k);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (map.At(x, y) == 'X') c.Set(x, y, core);
            if (map.At(x, y) == 'x') c.Set(x, y, outer);
        }
}

void PaintLights(Canvas& c, int lights) {
    const Rgb on = Hex(0xFFE040), off = Hex(0x7A5A14);
    c.Set(8, 1, lights == 0 ? on : off);
    c.Set(40, 19, lights == 1 ? on : off);
    c.Set(41, 19, Scale(lights == 1 ? on : off, 0.8f));
    // Running lights at the front of the pods blink in turn.
    c.Set(19, 4, lights == 2 ? Hex(0xFFFFFF) : Hex(0x9C9CA8));
    c.Set(19, 15, lights == 2 ? Hex(0xFFFFFF) : Hex(0x9C9CA8));
}

}  // namespace

PartMap RebelShip::Layout() {
    PartMap m(kWidth, kHeight);
    // A wedge whose nose splits into an upper and a lower blade.
    const int hullLeft[] = {13, 10, 9, 9, 9, 9, 9, 10, 18};
    const int hullRight[] = {26, 36, 40, 44, 48, 37, 37, 46, 42};
    for (int y = 6; y <= 14; ++y) m.Paint(y, hullLeft[y - 6], hullRight[y - 6], 'R');
    m.Paint(4, 27, 30, 'C');
    m.Paint(5, 25, 32, 'C');
    m.Paint(6, 24, 34, 'C');
    m.Paint(11, 38, 39, 'V');
    m.Paint(12, 38, 39, 'V');
    for (int base : {3, 14}) {
        m.Paint(base, 5, 18, 'P');
        m.Paint(base + 1, 4, 19, 'P');
        m.Paint(base + 2, 4, 19, 'P');
        m.Paint(base + 3, 5, 18, 'P');
        const int flame = base + 1;
        m.Paint(flame, 2, 3, 'E');
        m.Paint(flame + 1, 2, 3, 'E');
        m.Paint(flame, 0, 0, 'x');
        m.Paint(flame + 1, 0, 0, 'x');
        m.Paint(flame, 1, 1, 'X');
        m.Paint(flame + 1, 1, 1, 'X');
    }
    m.Paint(1, 8, 8, 'L');
    m.Paint(1, 9, 10, 'F');
    m.Paint(2, 7, 12, 'F');
    const int wingLeft[] = {26, 28, 30, 32, 35};
    const int wingRight[] = {34, 36, 38, 40, 41};
    for (int i = 0; i < 5; ++i) m.Paint(15 + i, wingLeft[i], wingRight[i], 'Q');
    m.Paint(19, 40, 41, 'M');
    return m;
}

SpriteArt RebelShip::Paint(int lights) {
    const PartMap map = Layout();
    SpriteArt art{Canvas(kWidth, kHeight, Hex(kBackground8)), map.Silhouette()};
    Canvas& c = art.image;
    PaintHull(c, map);
    PaintPodsAndWing(c, map);
    PaintCanopyAndEmitter(c, map, lights);
    PaintEngines(c, map, lights);
    ShipShading::SeamBelow(c, map.Region("Q"), map.Region("R"), 0.7f);
    ShipShading::SeamBelow(c, map.Region("R"), map.Region("PC"), 0.75f);
    ShipShading::SeamBelow(c, map.Region("P"), map.Region("R"), 0.75f);
    ShipShading::Outline(c, art.shape, map.Region("XxLMVC"), 0.66f);
    PaintLights(c, lights);
    return art;
}

}  // namespace artgen
