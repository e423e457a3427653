#pragma once

#include <cstdint>

#include "Canvas.h"
#include "Shape.h"

// A painted sprite: its picture on the dark background and the shape its
// mask covers.
namespace artgen {

constexpr uint32_t kBackground8 = 0x040404;  // background of 8-bit sprite images
constexpr uint32_t kBackground4 = 0x000000;  // background of 4-bit sprite images

struct SpriteArt {
    Canvas image;
    Shape shape;

    SpriteArt Mirrored() const { return {image.Mirrored(), shape.Mirrored()}; }
};

}  // namespace artgen
