#pragma once

#include "Canvas.h"

// The two bases on the ground of the backdrop: the Emperor's white hangar,
// landing pad and control tower at the bottom left (the ship starts over the
// pad at x 170), and the Rebel's red bunker, pad and beacon at the bottom
// right (start at x 426).
namespace artgen {

class BasePainter {
  public:
    static void Emperor(Canvas& canvas);
    static void Rebel(Canvas& canvas);
};

}  // namespace artgen
