#pragma once

#include "ArtBook.h"
#include "SpriteArt.h"

// Every shot image and its mask: the Emperor's grey rocket (both ways), grey
// pod and small grey pod; the Rebel's green plasma bolt (both ways), blue
// energy ball and red capsule.
namespace artgen {

class ShotArt {
  public:
    static void Add(ArtBook& book);

    // The single pictures, flying right where they have a direction.
    static SpriteArt Rocket();
    static SpriteArt PlasmaBolt();
    static SpriteArt EnergyBall();
    static SpriteArt Pod();
    static SpriteArt SmallPod();
    static SpriteArt Capsule();
};

}  // namespace artgen
