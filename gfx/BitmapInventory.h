#pragma once

#include <vector>

// Every picture the game carries, with the size and colour depth it must
// have. The art generator paints exactly these and a test checks the
// compiled-in resources against them.
namespace qx {

enum class PictureRole {
    Scene,  // a whole picture drawn by copying (backdrop, panels)
    Image,  // a sprite image: its background is ORed onto the scene
    Mask,   // black on the shape, white around it
};

struct PictureSpec {
    int id;
    int width;
    int height;
    int bitsPerPixel;
    PictureRole role;
};

const std::vector<PictureSpec>& BitmapInventory();
const std::vector<PictureSpec>& IconInventory();

// The background colour of sprite images: near-black 4,4,4 for 8-bit images,
// pure black for 4-bit ones.
constexpr unsigned kImageBackground8 = 0x040404;
constexpr unsigned kImageBackground4 = 0x000000;

}  // namespace qx
