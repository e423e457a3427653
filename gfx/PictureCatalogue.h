#pragma once

#include <vector>

// Every picture the game carries, as data: its resource number, size, colour
// depth and role, and the table slots it stands in. The art generator paints
// exactly these, the tests check the compiled-in resources against them, and
// the game's drawing code and the shell look pictures up here instead of
// naming numbers of their own.
namespace qx {

enum class PictureRole {
    Scene,  // a whole picture drawn by copying (backdrop, panels)
    Image,  // a sprite image: its background is ORed onto the scene
    Mask,   // black on the shape, white around it
};

struct PictureEntry {
    int id;
    int width;
    int height;
    int bitsPerPixel;
    PictureRole role;
};

const std::vector<PictureEntry>& BitmapInventory();
const std::vector<PictureEntry>& IconInventory();

// The tables pictures stand in. Ship tables are per side (0 Emperor,
// 1 Rebel) and indexed [facing][frame], [facing][variant] or
// [direction][slot]; the meteor's by picture slot.
enum class PictureTable {
    ShipFrame,    // 0-2 flying, 3-9 explosion, 10 empty
    ShipMask,     // the mask of each frame
    ShipHit,      // the three hit pictures
    Shot,         // 0/1 forward, 2/3 upward, 4/5 downward (image, mask)
    MeteorFrame,  // 0-4 whole rock, 5-7 hit marks, 8 burst
};

// The resource number in a slot, or 0 for a slot no picture stands in.
int PictureInSlot(PictureTable table, int side, int row, int col);

// Pictures with one place each.
namespace picture {
constexpr int kBackdrop = 127;
constexpr int kEmperorPanel = 133;
constexpr int kRebelPanel = 134;
constexpr int kMeteorMask = 208;
constexpr int kEmperorShip = 118;  // also shown in the New game dialog
constexpr int kRebelShip = 123;
constexpr int kEmperorIcon = 113;  // icons, a name space of their own
constexpr int kRebelIcon = 132;
}  // namespace picture

// The background colour of sprite images: near-black 4,4,4 for 8-bit images,
// pure black for 4-bit ones.
constexpr unsigned kImageBackground8 = 0x040404;
constexpr unsigned kImageBackground4 = 0x000000;

}  // namespace qx
