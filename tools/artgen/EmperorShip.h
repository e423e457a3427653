#pragma once

#include "PartMap.h"
#include "SpriteArt.h"

// The Emperor's white ship, 50 x 21, drawn nose to the right: a long white
// fuselage with a blue stripe, a glass canopy, a swept tail fin, a swept
// lower wing with a cannon under the nose and a blue ion engine at the back.
namespace artgen {

class EmperorShip {
  public:
    // Parts: F fin, L fin light, C canopy, H hull, E engine nozzle, X/x flame
    // core/outer, G cannon, W wing, M wingtip light.
    static PartMap Layout();
    // The flying ship in one of its three light states (0, 1, 2).
    static SpriteArt Paint(int lights);
};

}  // namespace artgen
