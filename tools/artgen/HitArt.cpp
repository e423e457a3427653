#include "HitArt.h"

#include <cmath>

#include "Effects.h"
#include "EmperorShip.h"
#include "RebelShip.h"

namespace artgen {
namespace {

struct Mark {
    int id;
    float x, y;
};

void AddBursts(ArtBook& book, const SpriteArt& ship, const Mark (&marks)[3], uint32_t seed) {
    for (const Mark& m : marks) {
        Canvas c = ship.image;
        Effects::Burst(c, &ship.shape, m.x, m.y, 4.5f, seed + static_cast<uint32_t>(m.id));
        book.Image(m.id, c, 8);
    }
}

// A bolt strikes at (x, y) from above or below, lighting the hull blue
// around the point of impact.
void AddStrikes(ArtBook& book, const SpriteArt& ship, const Mark (&marks)[3], uint32_t seed) {
    const Rgb blue = Hex(0x4C84FF);
    for (const Mark& m : marks) {
        Canvas c = ship.image;
        for (int y = 0; y < c.Height(); ++y)
            for (int x = 0; x < c.Width(); ++x) {
                if (!ship.shape.At(x, y)) continue;
                const float d = std::hypot(x + 0.5f - m.x, (y + 0.5f - m.y) * 1.4f);
                if (d < 9)
                    c.Set(x, y, Mix(c.At(x, y), Mix(Hex(0x1A2460), blue, 0.4f), (9 - d) / 11));
            }
        const uint32_t s = seed + static_cast<uint32_t>(m.id);
        const float toY = m.y < 10 ? m.y + 8 : m.y - 8;
        Effects::Lightning(c, &ship.shape, m.x - 5, m.y, m.x + 6, toY, blue, 2, s);
        Effects::Lightning(c, &ship.shape, m.x, m.y, m.x - 7, toY, blue, 1, s + 100);
        Effects::Spark(c, &ship.shape, static_cast<int>(m.x), static_cast<int>(m.y), Hex(0xE0F0FF),
                       0.7f);
        book.Image(m.id, c, 8);
    }
}

}  // namespace

void HitArt::Add(ArtBook& book) {
    const SpriteArt emperor = EmperorShip::Paint(0);  // nose right
    const Mark emperorRow0[] = {{195, 42, 10.5f}, {196, 24, 9.5f}, {197, 16, 16.5f}};
    AddBursts(book, emperor, emperorRow0, 300);
    const Mark emperorRow1[] = {{198, 10, 11.5f}, {199, 30, 12.5f}, {200, 40, 4.5f}};
    AddBursts(book, emperor.Mirrored(), emperorRow1, 400);

    const SpriteArt rebel = RebelShip::Paint(0);  // nose right: the second row
    const Mark rebelRow0[] = {{201, 9, 10.5f}, {202, 26, 8.5f}, {203, 40, 15.5f}};
    AddStrikes(book, rebel.Mirrored(), rebelRow0, 500);
    const Mark rebelRow1[] = {{204, 38, 9.5f}, {205, 20, 11.5f}, {206, 12, 4.5f}};
    AddStrikes(book, rebel, rebelRow1, 600);
}

}  // namespace artgen
