#pragma once

#include <cstdint>
#include <vector>

#include "ArtBook.h"
#include "Canvas.h"
#include "Shape.h"

// The two 32 x 32, 16-colour icons: the Emperor's white ship on black (113)
// and the Rebel's red star emblem on black (132). The ship is also the
// desktop's icon, painted at each large size from the same design (no
// enlarged pixels).
namespace artgen {

class IconArt {
  public:
    static void Add(ArtBook& book);
    // The ship on black at size x size pixels (32: the game's icon).
    static Canvas Ship(int size = 32);
    // The pixels the ship covers at that size, its flame left out.
    static Shape Silhouette(int size);
    // The ship as a desktop icon: 0xAARRGGBB (not premultiplied), row by
    // row, transparent around it and with smooth edges.
    static std::vector<uint32_t> DesktopShip(int size);
    static Canvas Emblem();
};

}  // namespace artgen
