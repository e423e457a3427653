#pragma once

#include "common/Arena.h"
#include "gfx/Surface.h"

namespace qx {

// The scene's backdrop picture with a border around it that repeats the
// picture's outermost rows and columns. Sprite boxes near the arena's edges
// reach past the picture (a meteor box up to 31 units left of it, a ship box
// at its base 3 rows below it); copying from this surface gives them the
// scene's edge instead of black, so no dark flecks are left along the edges
// of the window when such a box is scaled onto it. Only the padded copy is
// kept: the picture itself is inside it.
class PaddedBackdrop {
  public:
    static constexpr int kMargin = 64;

    // Implicit, so any picture can stand where a backdrop is expected.
    PaddedBackdrop(const Surface& picture);  // NOLINT(google-explicit-constructor)

    const Surface& Padded() const { return padded; }

    // Copies the arena rectangle `box` (which may reach past the picture) onto
    // dst at (dx, dy).
    void CopyTo(Surface& dst, int dx, int dy, const Box& box) const;
    // Stretches the arena rectangle `source` onto dst's (dx, dy, dw, dh).
    void StretchTo(Surface& dst, int dx, int dy, int dw, int dh, const Box& source) const;

  private:
    Surface padded;
};

}  // namespace qx
