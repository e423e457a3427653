#include "ShipArt.h"

#include "EmperorShip.h"
#include "RebelShip.h"

namespace artgen {

void ShipArt::Add(ArtBook& book) {
    // Emperor: designed nose right, which is the first row; the second row
    // is the mirror image.
    const int emperorRow0[] = {118, 160, 161};
    const int emperorRow1[] = {177, 178, 179};
    for (int lights = 0; lights < 3; ++lights) {
        const SpriteArt ship = EmperorShip::Paint(lights);
        book.Image(emperorRow0[lights], ship.image, 8);
        book.Image(emperorRow1[lights], ship.image.Mirrored(), 8);
    }
    const Shape emperorHull = EmperorShip::Layout().Silhouette();
    book.Mask(165, emperorHull, 1);
    book.Mask(209, emperorHull.Mirrored(), 1);

    // Rebel: designed nose right, which is the second row; the first row
    // (facing the Emperor on its left) is the mirror image, with one mask per
    // frame, all of the same hull.
    const int rebelRow0[] = {123, 163, 164};
    const int rebelMasks0[] = {124, 167, 168};
    const int rebelRow1[] = {182, 183, 184};
    const Shape rebelHull = RebelShip::Layout().Silhouette();
    for (int lights = 0; lights < 3; ++lights) {
        const SpriteArt ship = RebelShip::Paint(lights);
        book.Image(rebelRow0[lights], ship.image.Mirrored(), 8);
        book.Image(rebelRow1[lights], ship.image, 8);
        book.Mask(rebelMasks0[lights], rebelHull.Mirrored(), 1);
    }
    book.Mask(211, rebelHull, 1);
}

}  // namespace artgen
