#include "BasePainter.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "Shape.h"

namespace artgen {
namespace {

void Rect(Canvas& c, int x0, int y0, int x1, int y1, Rgb color) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) c.Set(x, y, color);
}

// A rectangle shaded from `left` to `right` across its width.
void RectAcross(Canvas& c, int x0, int y0, int x1, int y1, Rgb left, Rgb right) {
    for (int x = x0; x <= x1; ++x) {
        const Rgb col = Mix(left, right, static_cast<float>(x - x0) / std::max(1, x1 - x0));
        for (int y = y0; y <= y1; ++y) c.Set(x, y, col);
    }
}

// A lamp: a bright pixel with a soft glow around it.
void Lamp(Canvas& c, int x, int y, Rgb color, int radius) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            if (d <= radius) c.Glow(x + dx, y + dy, color, 0.5f * (1 - d / (radius + 1)));
        }
    c.Set(x, y, Mix(color, Hex(0xFFFFFF), 0.5f));
}

// A slab seen from the front: a lit top surface and a shaded front face.
void Pad(Canvas& c, int x0, int x1, int top, Rgb surface, Rgb face) {
    Rect(c, x0 + 2, top, x1 - 2, top + 1, surface);
    c.Set(x0 + 1, top + 1, surface);
    c.Set(x1 - 1, top + 1, surface);
    for (int y = top + 2; y < 400; ++y)
        RectAcross(c, x0, y, x1, y, Scale(face, 1.0f - 0.06f * (y - top)),
                   Scale(face, 0.8f - 0.06f * (y - top)));
    Rect(c, x0, top + 2, x1, top + 2, Mix(surface, face, 0.5f));
}

void Hangar(Canvas& c) {
    const float cx = 86, hw = 32, h = 46;
    const Noise grime(1290);
    for (int y = 353; y < 400; ++y)
        for (int x = 50; x <= 122; ++x) {
            const float dx = (x + 0.5f - cx) / hw, dy = (y + 0.5f - 399) / h;
            if (dx * dx + dy * dy > 1) continue;
            const float light = std::clamp(0.95f - 0.55f * dx - 0.2f * std::fabs(dx), 0.35f, 1.0f);
            Rgb col =
                Scale(Hex(0xF2F4FA), light * (0.94f + 0.08f * grime.Value(x * 0.3f, y * 0.3f)));
            if ((x - 56) % 7 == 0) col = Scale(col, 0.8f);  // ribs of the roof
            c.Set(x, y, col);
        }
    // The open door with a lit interior.
    for (int y = 370; y < 400; ++y)
        RectAcross(c, 73, y, 99, y, Mix(Hex(0x141A2C), Hex(0x5A4A30), (y - 370) / 40.0f),
                   Mix(Hex(0x0C1020), Hex(0x3A3020), (y - 370) / 40.0f));
    Rect(c, 72, 369, 100, 369, Hex(0x2E6AD8));
    Rect(c, 72, 369, 72, 399, Hex(0x2E6AD8));
    Rect(c, 100, 369, 100, 399, Hex(0x2456B0));
    // The Emperor's blue emblem over the door.
    Shape ring(600, 400);
    ring.AddEllipse(86.5f, 361.5f, 4.5f, 4.5f);
    for (int y = 356; y <= 367; ++y)
        for (int x = 81; x <= 92; ++x)
            if (ring.At(x, y)) c.Set(x, y, ring.IsEdge(x, y) ? Hex(0x1C3C8C) : Hex(0x3C7CF0));
    c.Set(86, 360, Hex(0xE8F0FF));
    for (int i = 0; i < 4; ++i) Lamp(c, 76 + 7 * i, 397, Hex(0xFFD080), 1);
}

void Tower(Canvas& c) {
    RectAcross(c, 226, 346, 236, 399, Hex(0xF0F2F8), Hex(0x8A90A2));
    for (int y = 350; y < 400; y += 9) Rect(c, 226, y, 236, y, Hex(0xA8AEBE));
    // The glass cab.
    RectAcross(c, 220, 335, 242, 346, Hex(0xE8ECF4), Hex(0x9098AC));
    RectAcross(c, 221, 338, 241, 342, Hex(0x9CD8FF), Hex(0x2C5CA8));
    for (int x = 224; x <= 240; x += 5) Rect(c, x, 338, x, 342, Hex(0xC8CED8));
    Rect(c, 219, 334, 243, 334, Hex(0xFFFFFF));
    Rect(c, 231, 321, 231, 333, Hex(0xB8BECC));
    Lamp(c, 231, 320, Hex(0xFF4030), 2);
}

void Bunker(Canvas& c) {
    Shape body(600, 400);
    body.AddPolygon({{480, 400}, {487, 366}, {516, 352}, {560, 352}, {576, 368}, {576, 400}});
    const Noise grime(1291);
    for (int y = 350; y < 400; ++y)
        for (int x = 478; x <= 578; ++x) {
            if (!body.At(x, y)) continue;
            Rgb col = y < 366 ? Hex(0xC83A30) : Hex(0x8E2424);  // roof and wall
            if (y < 366 && x < 516 + (y - 352) * -2) col = Hex(0xE0503C);
            if (x > 566 && y < 368) col = Hex(0x6E1A1C);
            col = Scale(col, 0.9f + 0.15f * grime.Value(x * 0.25f, y * 0.25f));
            if (body.IsEdge(x, y)) col = Scale(col, 0.6f);
            c.Set(x, y, col);
        }
    Rect(c, 488, 366, 575, 366, Hex(0x4A1414));
    for (int x = 494; x <= 566; x += 8) Rect(c, x, 373, x + 4, 375, Hex(0xFFB040));  // window slits
    RectAcross(c, 514, 382, 536, 399, Hex(0x1E1416), Hex(0x100C10));
    Rect(c, 513, 381, 537, 381, Hex(0x5A2020));
    // A radar dish on the roof.
    Rect(c, 546, 344, 547, 352, Hex(0x6C6E78));
    Shape dish(600, 400);
    dish.AddEllipse(546, 341, 7, 3);
    for (int y = 336; y <= 345; ++y)
        for (int x = 538; x <= 554; ++x)
            if (dish.At(x, y)) c.Set(x, y, Mix(Hex(0xD8DAE2), Hex(0x70727E), (x - 539) / 15.0f));
    Lamp(c, 546, 337, Hex(0xFF3020), 2);
    Lamp(c, 490, 364, Hex(0xFF3020), 1);
}

void Beacon(Canvas& c) {
    for (int y = 338; y < 400; ++y) {
        const int half = 1 + (y - 338) / 22;
        RectAcross(c, 366 - half, y, 366 + half, y, Hex(0x9A9AA4), Hex(0x4C4C56));
        if ((y - 338) % 6 == 0) Rect(c, 366 - half - 1, y, 366 + half + 1, y, Hex(0x6A2020));
    }
    Lamp(c, 366, 336, Hex(0xFF2818), 3);
}

}  // namespace

void BasePainter::Emperor(Canvas& c) {
    Hangar(c);
    Tower(c);
    Pad(c, 126, 214, 393, Hex(0xF4F6FC), Hex(0xBCC2D0));
    for (int x = 136; x <= 204; x += 8) Rect(c, x, 393, x + 3, 393, Hex(0x3C7CF0));  // markings
    for (int x = 131; x <= 210; x += 10) Lamp(c, x, 397, Hex(0x4C90FF), 1);
}

void BasePainter::Rebel(Canvas& c) {
    Beacon(c);
    Bunker(c);
    Pad(c, 384, 468, 391, Hex(0x8A8A94), Hex(0x55555E));
    for (int y = 394; y < 400; ++y)
        for (int x = 385; x <= 467; ++x)
            if (((x + y) / 4) % 2 == 0)
                c.Set(x, y, Mix(c.At(x, y), Hex(0xB02828), 0.7f));  // hazard stripes
    for (int x = 390; x <= 462; x += 12) Lamp(c, x, 392, Hex(0xFF3828), 1);
}

}  // namespace artgen
