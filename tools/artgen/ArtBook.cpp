#include "ArtBook.h"

#include "Quantizer.h"
#include "SpriteArt.h"

namespace artgen {

void ArtBook::Image(int id, const Canvas& canvas, int bitsPerPixel) {
    const uint32_t background = bitsPerPixel == 8 ? kBackground8 : kBackground4;
    Canvas c = canvas;
    if (bitsPerPixel != 8) {
        // Sprites are painted on the 8-bit background; 16-colour ones use black.
        for (int y = 0; y < c.Height(); ++y)
            for (int x = 0; x < c.Width(); ++x)
                if (c.Packed(x, y) == kBackground8) c.Set(x, y, Hex(kBackground4));
    }
    items_.push_back({id, false, Quantizer::Quantize(c, bitsPerPixel, background)});
}

void ArtBook::Mask(int id, const Shape& shape, int bitsPerPixel) {
    items_.push_back({id, false, IndexedPicture::FromMask(shape, bitsPerPixel)});
}

void ArtBook::Scene(int id, const Canvas& canvas) {
    items_.push_back({id, false, Quantizer::Quantize(canvas, 8, 0x000000)});
}

void ArtBook::Icon(int id, const Canvas& canvas) {
    items_.push_back({id, true, Quantizer::Quantize(canvas, 4, 0x000000)});
}

}  // namespace artgen
