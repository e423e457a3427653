#pragma once

#include "ArtBook.h"
#include "SpriteArt.h"

// The meteor: a round green rock (207), the rock with a burning hit mark at
// three places (213, 212, 214), the rock bursting apart (215) and its disc
// mask (208). Every picture stays inside the disc.
namespace artgen {

class MeteorArt {
  public:
    static void Add(ArtBook& book);
    static SpriteArt Rock();
};

}  // namespace artgen
