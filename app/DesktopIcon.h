#pragma once

#include <QImage>

#include "gfx/Surface.h"

// The game's icon art as the desktop's icons: the black around the picture
// turns transparent, and each size is the art enlarged by whole pixels and
// then averaged down by whole pixels, so the pixel art stays crisp at the
// sizes it divides and is evenly smoothed at the others.
class DesktopIcon {
  public:
    // The icon the window shows: the Emperor's ship.
    static constexpr int kArtIcon = 113;
    // The sizes drawn from the 32 px art; larger ones are painted anew.
    static constexpr int kSmallSizes[] = {16, 24, 32, 48};

    // The art with the black that touches its border made transparent
    // (black inside the picture stays), as ARGB32 premultiplied.
    static QImage Cutout(const qx::Surface& art);
    // The cut-out art at `size` x `size` pixels.
    static QImage Render(const qx::Surface& art, int size);

  private:
    static QImage AverageDown(const QImage& image, int factor);
};
