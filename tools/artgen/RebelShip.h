#pragma once

#include "PartMap.h"
#include "SpriteArt.h"

// The Rebel's red ship, 50 x 21. It is designed nose to the right (the game's
// first row shows it mirrored, nose to the left): a red wedge hull whose nose
// splits into two prongs around a green plasma emitter, two grey engine pods
// with orange flames at the back, an amber canopy and a forward-swept wing.
namespace artgen {

class RebelShip {
  public:
    // Parts: R hull, P engine pods, F fin, L fin light, C canopy, V emitter,
    // E nozzles, X/x flame core/outer, Q wing, M wingtip light.
    static PartMap Layout();
    // The flying ship, nose to the right, in one of its light states (0..2).
    static SpriteArt Paint(int lights);
};

}  // namespace artgen
