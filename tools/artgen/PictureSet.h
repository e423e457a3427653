#pragma once

#include <map>
#include <string>

#include "gfx/Surface.h"

// The game's pictures decoded as the game decodes them: either freshly
// painted (and stored to BMP bytes in memory first) or read from the BMP
// files of a res/ folder.
namespace artgen {

class PictureSet {
  public:
    static PictureSet Painted();
    // Reads DIR/bitmaps/<id>.bmp and DIR/icons/<id>.bmp for every picture
    // the game carries. On a missing or undecodable file returns false and
    // says which.
    static bool Load(const std::string& dir, PictureSet& out, std::string& error);

    // An empty surface when there is no such picture.
    const qx::Surface& Bitmap(int id) const;
    const qx::Surface& Icon(int id) const;

  private:
    std::map<int, qx::Surface> bitmaps_;
    std::map<int, qx::Surface> icons_;
};

}  // namespace artgen
