#pragma once

#include <vector>

#include "PictureSet.h"
#include "gfx/Surface.h"

// One picture for reviewing all the art: the composed scene, the icons and
// panels, then every sprite composed over a patch of the backdrop by the
// game's rule (backdrop copy, mask AND, image OR) with the mask the game
// pairs it with, enlarged three times and labelled "image+mask".
namespace artgen {

struct SheetCell {
    int image;
    int mask;
    int cx;  // where on the backdrop the sprite is centred
    int cy;
    int margin;
};

class ContactSheet {
  public:
    static qx::Surface Build(const PictureSet& pictures);
    // The rows of sprite cells, in the pairings the game draws them with.
    static std::vector<std::vector<SheetCell>> SpriteRows();
};

}  // namespace artgen
