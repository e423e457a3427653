#pragma once

#include <cstdint>

#include "common/Arena.h"
#include "gfx/PaddedBackdrop.h"
#include "gfx/Surface.h"

namespace qx {

class Ship;
class Meteor;

// The two energy gauges along the top edge: the Emperor's blue panel at the
// left, the Rebel's red panel at the right. Each is cut back from its inner
// end, by painting the backdrop's dark top strip over it, as its ship loses
// energy. Also runs the hit tests of a tick, which decide when the gauges
// must be redrawn.
class EnergyPanel {
  public:
    EnergyPanel();
    virtual ~EnergyPanel() = default;
    EnergyPanel(const EnergyPanel&) = delete;
    EnergyPanel& operator=(const EnergyPanel&) = delete;

    // Both panels, whole.
    void DrawPanels(Surface& dc, Rect clientRect) const;
    // Covers the part of the panels that stands for lost energy (0..500 each).
    void DrawEnergyBar(Surface& dc, Rect clientRect, const PaddedBackdrop& backdrop,
                       int32_t emperorEnergy, int32_t rebelEnergy) const;
    // Shots and meteor against both ships, in the game's fixed order; redraws
    // the bar when a ship lost energy or when forced.
    void ResolveCombat(Surface& dc, Rect clientRect, Ship& emperor, Ship& rebel,
                       const PaddedBackdrop& backdrop, Meteor& meteor, bool forceBarRedraw) const;

    // The arena strip the bar covers: starts at 290 * E / 500 and is
    // 290 * (1000 - E - R) / 500 + 20 wide.
    static Box EnergyBarSource(int32_t emperorEnergy, int32_t rebelEnergy);
    // Where that strip lands in the client area; its x is 290 * E * W / 300000
    // taken from the whole product, not from the truncated arena x.
    static Box EnergyBarTarget(Rect clientRect, int32_t emperorEnergy, int32_t rebelEnergy);

    Surface emperorPanel;
    Surface rebelPanel;
};

}  // namespace qx
