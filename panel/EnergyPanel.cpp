#include "panel/EnergyPanel.h"

#include "common/ArenaToClient.h"
#include "gfx/PictureCatalogue.h"

namespace qx {
namespace {

constexpr int32_t kPanelWidth = 290;
constexpr int32_t kPanelHeight = 20;
constexpr int32_t kRebelPanelX = 310;

}  // namespace

void EnergyPanel::DrawPanels(DrawSink& sink) {
    sink.Draw(DrawOp::Picture(picture::kEmperorPanel, {0, 0, kPanelWidth, kPanelHeight}));
    sink.Draw(DrawOp::Picture(picture::kRebelPanel, {kRebelPanelX, 0, kPanelWidth, kPanelHeight}));
}

void EnergyPanel::DrawEnergyBar(DrawSink& sink, int32_t emperorEnergy, int32_t rebelEnergy) {
    sink.Draw(DrawOp::EnergyBar(emperorEnergy, rebelEnergy));
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

}  // namespace qx
