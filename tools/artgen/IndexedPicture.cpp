#include "IndexedPicture.h"

namespace artgen {

IndexedPicture IndexedPicture::FromMask(const Shape& shape, int bitsPerPixel) {
    IndexedPicture p;
    p.width = shape.Width();
    p.height = shape.Height();
    p.bitsPerPixel = bitsPerPixel;
    p.palette = {0x000000, 0xFFFFFF};
    p.pixels.resize(static_cast<size_t>(p.width) * p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.pixels[static_cast<size_t>(y) * p.width + x] = shape.At(x, y) ? 0 : 1;
    return p;
}

IndexedPicture IndexedPicture::Plain(int width, int height, int bitsPerPixel, uint32_t color) {
    IndexedPicture p;
    p.width = width;
    p.height = height;
    p.bitsPerPixel = bitsPerPixel;
    p.palette = {color};
    p.pixels.assign(static_cast<size_t>(width) * height, 0);
    return p;
}

}  // namespace artgen
