#pragma once

#include "ArtBook.h"

// The flying frames of both ships in both facings, their masks and the hit
// pictures.
namespace artgen {

class ShipArt {
  public:
    static void Add(ArtBook& book);
};

}  // namespace artgen
