#pragma once

#include <QImage>

#include "gfx/Surface.h"

// How the game's pictures are handed to Qt: a surface's pixels are opaque
// 0xFFRRGGBB words, exactly what QImage::Format_RGB32 holds, so no pixel is
// converted on the way.
class SurfaceImage {
  public:
    // A QImage over the surface's own pixels (no copy); valid while the
    // surface lives and keeps its size.
    static QImage View(const qx::Surface& surface);
    // A deep copy.
    static QImage Copy(const qx::Surface& surface);
};
