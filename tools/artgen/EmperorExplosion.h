#pragma once

#include "ArtBook.h"

// The Emperor's ship blowing up, frames 152 to 158 and the empty frame 144:
// fire breaks out at the nose, spreads, engulfs the hull, becomes a fireball,
// burns out from the centre and leaves embers and last sparks.
namespace artgen {

class EmperorExplosion {
  public:
    static void Add(ArtBook& book);
};

}  // namespace artgen
