#pragma once

#include <vector>

#include "ArtBook.h"

// Paints every bitmap and icon the game carries.
namespace artgen {

class ArtCatalog {
  public:
    static std::vector<Artwork> PaintAll();
};

}  // namespace artgen
