#pragma once

#include "ArtBook.h"
#include "Canvas.h"

// The two 32 x 32, 16-colour icons: the Emperor's white ship on black (113)
// and the Rebel's red star emblem on black (132).
namespace artgen {

class IconArt {
  public:
    static void Add(ArtBook& book);
    static Canvas Ship();
    static Canvas Emblem();
};

}  // namespace artgen
