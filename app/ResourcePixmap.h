#pragma once

#include <QImage>
#include <QPixmap>

#include "gfx/Surface.h"

// The game's embedded pictures as Qt images, for the window icon and the
// pictures in the dialogs.
class ResourcePixmap {
  public:
    // A deep copy of a surface's (opaque) pixels.
    static QImage ToImage(const qx::Surface& surface);
    static QPixmap Bitmap(int id);
    static QPixmap Icon(int id);
};
