#include "game/ScenePicture.h"

#include "meteor/MeteorDrawing.h"
#include "panel/EnergyPanel.h"
#include "ships/ShipDrawing.h"

namespace qx {

void DrawScenePicture(const GameState& state, DrawSink& sink) {
    sink.Draw(DrawOp::Backdrop());
    DrawShots(state.emperor, sink);
    DrawShots(state.rebel, sink);
    DrawMeteor(state.meteor, sink);
    DrawShip(state.emperor, sink);
    DrawShip(state.rebel, sink);
    EnergyPanel::DrawPanels(sink);
    const int32_t e = state.emperor.Energy();
    const int32_t r = state.rebel.Energy();
    EnergyPanel::DrawEnergyBar(sink, e > 0 ? e : 0, r > 0 ? r : 0);
}

}  // namespace qx
