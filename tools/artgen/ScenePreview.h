#pragma once

#include "PictureSet.h"
#include "gfx/Surface.h"

// The whole 600 x 400 scene as a player sees it in play: the backdrop, both
// panels (the Rebel's gauge partly drained), both ships on their bases and
// in flight, shots, the meteor and an explosion.
namespace artgen {

class ScenePreview {
  public:
    static qx::Surface Compose(const PictureSet& pictures);
};

}  // namespace artgen
