#pragma once

#include "ArtBook.h"

// The hit pictures: the flying ship with a mark where a shot struck it, three
// places per facing. The Emperor's ship shows a burst of fire, the Rebel's a
// blue lightning strike. Marks stay on the hull, inside the flying mask.
namespace artgen {

class HitArt {
  public:
    static void Add(ArtBook& book);
};

}  // namespace artgen
