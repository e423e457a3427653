#include "EmperorExplosion.h"

#include "Blaze.h"
#include "EmperorShip.h"
#include "SpriteArt.h"

namespace artgen {
namespace {

constexpr float kCx = 25.0f;
constexpr float kCy = 10.5f;

Canvas Charred(const SpriteArt& ship, float amount) {
    Canvas c(ship.image.Width(), ship.image.Height(), Hex(kBackground8));
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (ship.shape.At(x, y)) c.Set(x, y, Mix(ship.image.At(x, y), Hex(0x241C1A), amount));
    return c;
}

}  // namespace

void EmperorExplosion::Add(ArtBook& book) {
    const SpriteArt ship = EmperorShip::Paint(0);
    const Shape& hull = ship.shape;

    Canvas c = ship.image;  // fire breaks out at the nose
    Blaze::BurnHull(c, hull, 46, 10, 6, 11);
    Blaze::Tongues(c, hull, 46, 10, 8, 3, 12);
    Blaze::Ball(c, 47, 10.5f, 4, 3, 0, 0.9f, 13);
    book.Image(152, c, 8);

    c = ship.image;  // it spreads back over the hull
    Blaze::BurnHull(c, hull, 44, 10, 20, 21);
    Blaze::Tongues(c, hull, 44, 10, 20, 4, 22);
    Blaze::Ball(c, 42, 10.5f, 7, 5, 0, 0.85f, 23);
    book.Image(153, c, 8);

    c = ship.image;  // the whole hull in flames
    Blaze::BurnHull(c, hull, 36, 10, 60, 31);
    Blaze::Tongues(c, hull, 36, 10, 60, 5, 32);
    Blaze::Ball(c, 32, 10.5f, 16, 7, 0, 0.7f, 33);
    book.Image(154, c, 8);

    c = Charred(ship, 0.85f);  // full fireball
    Blaze::Ball(c, kCx, kCy, 23, 10, 0, 1.1f, 41);
    book.Image(155, c, 8);

    c = Charred(ship, 0.9f);  // burning out from the centre
    Blaze::Smoke(c, hull, kCx, kCy, 30, 14, 51);
    Blaze::Ball(c, kCx, kCy, 24, 10.5f, 0.62f, 0.95f, 52);
    book.Image(156, c, 8);

    c = Canvas(50, 21, Hex(kBackground8));  // embers flying apart
    Blaze::Ball(c, kCx, kCy, 25, 10.5f, 0.85f, 0.35f, 61);
    Blaze::Embers(c, kCx, kCy, 24, 10, 36, 1.0f, 0.9f, 62);
    book.Image(157, c, 8);

    c = Canvas(50, 21, Hex(kBackground8));  // last sparks
    Blaze::Embers(c, kCx, kCy, 25, 10.5f, 12, 1.1f, 0.5f, 71);
    book.Image(158, c, 8);

    book.Image(144, Canvas(50, 21, Hex(kBackground8)), 8);  // nothing left
}

}  // namespace artgen
