#pragma once

#include "Canvas.h"

// The 600 x 400 scene behind everything: sky, ground and both bases.
namespace artgen {

class BackdropArt {
  public:
    static Canvas Paint();
};

}  // namespace artgen
