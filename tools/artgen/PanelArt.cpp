#include "PanelArt.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace artgen {
namespace {

constexpr int kWidth = 290;
constexpr int kHeight = 20;
constexpr int kWindowLeft = 36;
constexpr int kWindowRight = 284;

struct Lights {
    Rgb rim, core, low, glow;
};

void Metal(Canvas& c) {
    const Noise brush(1330);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const float v = brush.Value(x * 0.08f, y * 1.3f);
            c.Set(x, y, Scale(Hex(0x70747E), 0.9f + 0.2f * v));
        }
    for (int x = 0; x < kWidth; ++x) {
        c.Set(x, 0, Hex(0xC4C8D2));
        c.Set(x, 1, Hex(0x9498A4));
        c.Set(x, kHeight - 2, Hex(0x3E4048));
        c.Set(x, kHeight - 1, Hex(0x1C1E24));
    }
    for (int y = 1; y < kHeight - 1; ++y) {
        c.Set(0, y, Hex(0xB4B8C2));
        c.Set(kWidth - 1, y, Hex(0x2A2C34));
    }
}

void Rivet(Canvas& c, int x, int y) {
    c.Set(x, y, Hex(0xDCE0E8));
    c.Set(x + 1, y, Hex(0x9A9EA8));
    c.Set(x, y + 1, Hex(0x8A8E98));
    c.Set(x + 1, y + 1, Hex(0x34363E));
}

// Vent slats and a round dial at the outer end.
void Machinery(Canvas& c, const Lights& l, bool hazard) {
    for (int x = 4; x <= 19; ++x)
        for (int y = 4; y <= 15; ++y) {
            const int k = (x - 4) % 3;
            Rgb col = k == 0 ? Hex(0x24262C) : (k == 1 ? Hex(0x5A5E68) : Hex(0x8A8E98));
            if (hazard && ((x + y) / 3) % 2 == 0) col = Mix(col, Hex(0xE0B020), 0.6f);
            c.Set(x, y, col);
        }
    const float cx = 27.5f, cy = 10, r = 5.2f;
    for (int y = 3; y <= 17; ++y)
        for (int x = 20; x <= 35; ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d <= r - 1.2f)
                c.Set(x, y, Mix(Hex(0x0C0E16), l.low, 0.35f - 0.25f * d / r));
            else if (d <= r)
                c.Set(x, y, dx + dy < 0 ? Hex(0x30323A) : Hex(0xB8BCC6));
        }
    for (int i = 0; i <= 3; ++i) c.Set(27 + i, 10 - i, l.core);  // the needle
    c.Set(27, 10, Hex(0xFFFFFF));
}

void Window(Canvas& c, const Lights& l) {
    for (int y = 4; y <= 15; ++y)
        for (int x = kWindowLeft; x <= kWindowRight; ++x) {
            Rgb col = Hex(0x0A0C14);
            if (y == 4 || x == kWindowLeft) col = Hex(0x202228);
            if (y == 15 || x == kWindowRight) col = Hex(0xA8ACB8);
            c.Set(x, y, col);
        }
    const Rgb rows[] = {l.rim, l.core, Hex(0xFFFFFF), l.core,
                        l.rim, l.low,  l.low,         Scale(l.low, 0.6f)};
    for (int x0 = kWindowLeft + 2; x0 + 4 <= kWindowRight - 2; x0 += 7) {
        const bool marker = ((x0 - kWindowLeft - 2) / 7) % 5 == 4;
        for (int y = 6; y <= 13; ++y) {
            for (int x = x0; x < x0 + 5; ++x) {
                Rgb col = rows[y - 6];
                if (y == 8) col = Mix(l.core, Hex(0xFFFFFF), x == x0 || x == x0 + 4 ? 0.2f : 0.7f);
                if (x == x0 || x == x0 + 4) col = Scale(col, 0.8f);
                c.Set(x, y, marker ? Mix(col, Hex(0xFFFFFF), 0.15f) : col);
            }
            c.Set(x0 + 5, y, l.glow);
            c.Set(x0 + 6, y, l.glow);
        }
    }
}

}  // namespace

Canvas PanelArt::Paint(bool red) {
    const Lights blue{Hex(0x5C8CF0), Hex(0x9CC8FF), Hex(0x2C5AD0), Hex(0x10204E)};
    const Lights rebel{Hex(0xF0604C), Hex(0xFFA890), Hex(0xC82420), Hex(0x4A0E0C)};
    const Lights& l = red ? rebel : blue;
    Canvas c(kWidth, kHeight);
    Metal(c);
    Machinery(c, l, red);
    Window(c, l);
    for (int x = kWindowLeft + 4; x < kWindowRight; x += 24) {
        Rivet(c, x, 2);
        Rivet(c, x, 16);
    }
    Rivet(c, 2, 2);
    Rivet(c, 2, 16);
    Rivet(c, kWidth - 4, 2);
    Rivet(c, kWidth - 4, 16);
    return c;
}

void PanelArt::Add(ArtBook& book) {
    book.Scene(133, Paint(false));
    book.Scene(134, Paint(true).Mirrored());
}

}  // namespace artgen
