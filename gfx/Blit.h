#pragma once

#include "gfx/Surface.h"

// The raster operations the game draws with, always clipped against both
// surfaces. A source pixel outside its surface reads as black (0x000000), so
// a copy writes black there, an AND writes black and an OR leaves the
// destination as it was. Zero or negative sizes do nothing.
namespace qx {

enum class RasterOp {
    Copy,  // dst = src          (SRCCOPY)
    And,   // dst = dst & src    (SRCAND)
    Or,    // dst = dst | src    (SRCPAINT)
};

// Combines the w x h rectangle of src at (sx, sy) onto dst at (dx, dy).
void Blit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
          RasterOp op);

// Draws a sprite the game's way: its w x h mask combined with AND at (x, y),
// then its image with OR, so the shape (black in the mask) shows the image
// and the rest shows the destination ORed with the image's dark background.
void ComposeSprite(Surface& dst, int x, int y, int w, int h, const Surface& mask,
                   const Surface& image);

// Nearest-neighbour scaled copy of src's (sx, sy, sw, sh) onto dst's
// (dx, dy, dw, dh): destination pixel (i, j) of the rectangle takes source
// pixel (sx + i * sw / dw, sy + j * sh / dh).
void StretchBlit(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy,
                 int sw, int sh);

}  // namespace qx
