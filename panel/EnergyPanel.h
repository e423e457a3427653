#pragma once

#include <cstdint>

#include "common/Arena.h"
#include "gfx/DrawSink.h"

namespace qx {

// The two energy gauges along the top edge: the Emperor's blue panel at the
// left, the Rebel's red panel at the right. Each is cut back from its inner
// end, by painting the backdrop's dark top strip over it, as its ship loses
// energy.
class EnergyPanel {
  public:
    // Both panels, whole.
    static void DrawPanels(DrawSink& sink);
    // Covers the part of the panels that stands for lost energy (0..500 each).
    static void DrawEnergyBar(DrawSink& sink, int32_t emperorEnergy, int32_t rebelEnergy);

    // The arena strip the bar covers: starts at 290 * E / 500 and is
    // 290 * (1000 - E - R) / 500 + 20 wide.
    static Box EnergyBarSource(int32_t emperorEnergy, int32_t rebelEnergy);
    // Where that strip lands in the client area; its x is 290 * E * W / 300000
    // taken from the whole product, not from the truncated arena x.
    static Box EnergyBarTarget(Rect clientRect, int32_t emperorEnergy, int32_t rebelEnergy);
};

}  // namespace qx
