#include "panel/EnergyPanel.h"

#include "common/ArenaToClient.h"
#include "gfx/ArenaBlit.h"
#include "gfx/Blit.h"
#include "gfx/ResourceLibrary.h"
#include "meteor/Meteor.h"
#include "ships/Ship.h"

namespace qx {
namespace {

constexpr int32_t kPanelWidth = 290;
constexpr int32_t kPanelHeight = 20;
constexpr int32_t kRebelPanelX = 310;

}  // namespace

EnergyPanel::EnergyPanel()
    : emperorPanel(LoadBitmapResource(133)), rebelPanel(LoadBitmapResource(134)) {}

void EnergyPanel::DrawPanels(Surface& dc, Rect clientRect) const {
    StretchToClient(dc, clientRect, emperorPanel, 0, 0, {0, 0, kPanelWidth, kPanelHeight});
    StretchToClient(dc, clientRect, rebelPanel, 0, 0, {kRebelPanelX, 0, kPanelWidth, kPanelHeight});
}

Box EnergyPanel::EnergyBarSource(int32_t emperorEnergy, int32_t rebelEnergy) {
    const int32_t sx = kPanelWidth * emperorEnergy / 500;
    const int32_t sw = kPanelWidth * (1000 - emperorEnergy - rebelEnergy) / 500 + 20;
    return {sx, 0, sw, kPanelHeight};
}

Box EnergyPanel::EnergyBarTarget(Rect clientRect, int32_t emperorEnergy, int32_t rebelEnergy) {
    const Box source = EnergyBarSource(emperorEnergy, rebelEnergy);
    // 64-bit so a very wide window cannot overflow 290 * 500 * W.
    const int64_t product = int64_t{kPanelWidth} * emperorEnergy * clientRect.right;
    return {static_cast<int32_t>(product / 300000), 0, ArenaToClientX(source.w, clientRect),
            ArenaToClientY(kPanelHeight, clientRect)};
}

void EnergyPanel::DrawEnergyBar(Surface& dc, Rect clientRect, const PaddedBackdrop& backdrop,
                                int32_t emperorEnergy, int32_t rebelEnergy) const {
    const Box source = EnergyBarSource(emperorEnergy, rebelEnergy);
    const Box target = EnergyBarTarget(clientRect, emperorEnergy, rebelEnergy);
    backdrop.StretchTo(dc, target.x, target.y, target.w, target.h, source);
}

void EnergyPanel::ResolveCombat(Surface& dc, Rect clientRect, Ship& emperor, Ship& rebel,
                                const PaddedBackdrop& backdrop, Meteor& meteor,
                                bool forceBarRedraw) const {
    const int32_t facing = emperor.x > rebel.x ? 1 : 0;
    bool hit = rebel.CheckShotsAgainst(backdrop, clientRect, dc, emperor, facing);
    hit = meteor.CollideWithShip(backdrop, clientRect, dc, emperor, facing) || hit;
    hit = emperor.CheckShotsAgainst(backdrop, clientRect, dc, rebel, facing) || hit;
    hit = meteor.CollideWithShip(backdrop, clientRect, dc, rebel, facing) || hit;
    if (hit || forceBarRedraw) {
        DrawEnergyBar(dc, clientRect, backdrop, emperor.energy > 0 ? emperor.energy : 0,
                      rebel.energy > 0 ? rebel.energy : 0);
    }
}

}  // namespace qx
