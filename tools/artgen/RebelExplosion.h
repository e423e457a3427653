#pragma once

#include "ArtBook.h"

// The Rebel's ship blowing up (frames 159, 145 to 151) with its thinning
// masks (169, 170, 172, 176, 175, 174, 173): blue lightning covers the hull,
// flames break through, a fireball, a burning ring, embers and last sparks.
// Each mask keeps black only what is still solid: the hull, then the hull
// with holes burnt into it, then fewer and smaller flying pieces.
namespace artgen {

class RebelExplosion {
  public:
    static void Add(ArtBook& book);
};

}  // namespace artgen
