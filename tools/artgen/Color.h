#pragma once

#include <cstdint>

// Floating-point RGB colour (0..255 per channel) used while painting; pictures
// are rounded to 8-bit channels only when they are quantised to a palette.
namespace artgen {

struct Rgb {
    float r = 0;
    float g = 0;
    float b = 0;
};

// 0xRRGGBB to a colour.
Rgb Hex(uint32_t rgb);
// Linear blend: t = 0 gives a, t = 1 gives b (t is clamped to 0..1).
Rgb Mix(Rgb a, Rgb b, float t);
Rgb Scale(Rgb c, float k);
Rgb Sum(Rgb a, Rgb b);
// Channels clamped to 0..255 and rounded to 0xRRGGBB.
uint32_t Pack(Rgb c);
// Perceived brightness, 0..255.
float Luma(Rgb c);
// Picks a colour along a gradient of evenly spaced stops (t in 0..1).
Rgb Ramp(const Rgb* stops, int count, float t);

}  // namespace artgen
