#include "RebelExplosion.h"

#include <cmath>
#include <vector>

#include "ArtRandom.h"
#include "Blaze.h"
#include "Effects.h"
#include "Noise.h"
#include "RebelShip.h"
#include "SpriteArt.h"

namespace artgen {
namespace {

constexpr float kCx = 24.5f;
constexpr float kCy = 10.5f;
const Rgb kBolt = Hex(0x5A8CFF);

// How long each hull pixel holds together as the ship breaks up.
Shape Intact(const Shape& hull, float threshold) {
    const Noise n(801);
    Shape s(hull.Width(), hull.Height());
    for (int y = 0; y < hull.Height(); ++y)
        for (int x = 0; x < hull.Width(); ++x)
            if (hull.At(x, y) && n.Fractal(x * 0.3f, y * 0.4f, 2) > threshold) s.Set(x, y, true);
    return s;
}

struct Piece {
    float x, y, dx, dy;
};

// Pieces of the hull thrown outwards; later frames show fewer and smaller ones.
std::vector<Piece> Pieces(const Shape& hull) {
    ArtRandom rng(811);
    std::vector<Piece> out;
    while (out.size() < 10) {
        const int x = rng.Between(6, 43), y = rng.Between(5, 15);
        if (!hull.At(x, y)) continue;
        const float dx = x - kCx, dy = (y - kCy) * 2;
        const float len = std::max(std::sqrt(dx * dx + dy * dy), 1.0f);
        out.push_back({static_cast<float>(x), static_cast<float>(y), dx / len, dy / len * 0.5f});
    }
    return out;
}

// Draws `count` pieces at `step` of their flight, each `size` pixels across,
// and returns the pixels they cover.
Shape DrawPieces(Canvas& c, const std::vector<Piece>& pieces, int count, int size, float step) {
    Shape s(c.Width(), c.Height());
    for (int i = 0; i < count; ++i) {
        const Piece& p = pieces[static_cast<size_t>(i)];
        const int x = static_cast<int>(p.x + p.dx * step * 5);
        const int y = static_cast<int>(p.y + p.dy * step * 5);
        for (int oy = 0; oy < size; ++oy)
            for (int ox = 0; ox < size + (i % 2); ++ox) {
                if (!c.Inside(x + ox, y + oy)) continue;
                const bool hot = ox == 0 && oy == 0;
                c.Set(x + ox, y + oy, hot ? Hex(0xFF8A30) : Hex(0x4A3432));
                s.Set(x + ox, y + oy, true);
            }
    }
    return s;
}

Canvas Tinted(const SpriteArt& ship, Rgb tint, float amount) {
    Canvas c(ship.image.Width(), ship.image.Height(), Hex(kBackground8));
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (ship.shape.At(x, y)) c.Set(x, y, Mix(ship.image.At(x, y), tint, amount));
    return c;
}

// Keeps the corner pixels at the background colour.
void ClearCorners(Canvas& c) {
    const Rgb bg = Hex(kBackground8);
    c.Set(0, 0, bg);
    c.Set(c.Width() - 1, 0, bg);
    c.Set(0, c.Height() - 1, bg);
    c.Set(c.Width() - 1, c.Height() - 1, bg);
}

void AddFrame(ArtBook& book, int image, int mask, Canvas& c, const Shape& solid) {
    ClearCorners(c);
    book.Image(image, c, 8);
    book.Mask(mask, solid, 1);
}

}  // namespace

void RebelExplosion::Add(ArtBook& book) {
    const SpriteArt ship = RebelShip::Paint(0).Mirrored();  // nose left, as in the first row
    const Shape& hull = ship.shape;

    Canvas c = Tinted(ship, Hex(0x1C2A6A), 0.5f);  // covered in blue lightning
    Effects::Lightning(c, nullptr, 2, 10, 47, 11, kBolt, 3, 901);
    Effects::Lightning(c, nullptr, 12, 2, 30, 19, kBolt, 2, 902);
    Effects::Lightning(c, nullptr, 30, 3, 44, 18, kBolt, 2, 903);
    AddFrame(book, 159, 169, c, hull);

    const Shape holed = Intact(hull, 0.32f);  // lightning and first flames
    c = Tinted(ship, Hex(0x201C40), 0.55f);
    Effects::Lightning(c, nullptr, 4, 12, 44, 8, kBolt, 2, 911);
    Blaze::BurnHull(c, hull, 20, 9, 6, 912);
    Blaze::BurnHull(c, hull, 36, 12, 5, 913);
    Blaze::Tongues(c, hull, 20, 9, 7, 3, 914);
    Blaze::Tongues(c, hull, 36, 12, 6, 3, 915);
    AddFrame(book, 145, 170, c, holed);

    const Shape broken = Intact(hull, 0.52f);  // flames over the hull
    c = Tinted(ship, Hex(0x241A18), 0.7f);
    Blaze::BurnHull(c, hull, kCx, kCy, 22, 921);
    Blaze::Tongues(c, hull, kCx, kCy, 26, 5, 922);
    Blaze::Ball(c, kCx, kCy, 14, 7, 0, 0.6f, 923);
    Effects::Lightning(c, nullptr, 8, 14, 40, 6, kBolt, 1, 924);
    AddFrame(book, 146, 172, c, broken);

    const std::vector<Piece> pieces = Pieces(hull);
    c = Canvas(50, 21, Hex(kBackground8));  // full fireball with the wreck inside
    Blaze::Ball(c, kCx, kCy, 23, 10, 0, 1.1f, 931);
    Shape solid = DrawPieces(c, pieces, 10, 2, 0.0f);
    AddFrame(book, 147, 176, c, solid);

    c = Canvas(50, 21, Hex(kBackground8));  // burning out from the centre
    Blaze::Ball(c, kCx, kCy, 24, 10.5f, 0.6f, 0.95f, 941);
    solid = DrawPieces(c, pieces, 7, 2, 1.0f);
    AddFrame(book, 148, 175, c, solid);

    c = Canvas(50, 21, Hex(kBackground8));  // embers
    Blaze::Ball(c, kCx, kCy, 25, 10.5f, 0.85f, 0.35f, 951);
    Blaze::Embers(c, kCx, kCy, 24, 10, 34, 1.0f, 0.9f, 952);
    solid = DrawPieces(c, pieces, 4, 1, 2.0f);
    AddFrame(book, 149, 174, c, solid);

    c = Canvas(50, 21, Hex(kBackground8));  // last sparks
    Blaze::Embers(c, kCx, kCy, 25, 10.5f, 12, 1.1f, 0.5f, 961);
    solid = DrawPieces(c, pieces, 2, 1, 2.6f);
    AddFrame(book, 150, 173, c, solid);

    book.Image(151, Canvas(50, 21, Hex(kBackground8)), 8);  // nothing left
}

}  // namespace artgen
