#pragma once

#include <cstdint>

#include "common/Arena.h"

// One step of drawing the scene, in arena units: what the rules ask to be
// drawn, independent of the client size it is drawn at. Pictures are named by
// their resource number.
namespace qx {

enum class DrawKind : uint8_t {
    Backdrop,   // the whole backdrop over the whole client area
    Erase,      // the backdrop over `box`
    Sprite,     // backdrop of `box`, mask AND and image OR at (ox, oy), w x h
    Picture,    // picture `image` stretched over `box`
    EnergyBar,  // the gauges' lost part for energies a (Emperor) and b (Rebel)
};

struct DrawOp {
    DrawKind kind = DrawKind::Backdrop;
    Box box;
    int32_t ox = 0;
    int32_t oy = 0;
    int32_t w = 0;
    int32_t h = 0;
    int32_t mask = 0;
    int32_t image = 0;
    int32_t a = 0;
    int32_t b = 0;

    bool operator==(const DrawOp&) const = default;

    static DrawOp Backdrop() { return {}; }
    static DrawOp Erase(const Box& box) {
        DrawOp op;
        op.kind = DrawKind::Erase;
        op.box = box;
        return op;
    }
    static DrawOp Sprite(const Box& box, int32_t ox, int32_t oy, int32_t w, int32_t h, int32_t mask,
                         int32_t image) {
        return {DrawKind::Sprite, box, ox, oy, w, h, mask, image, 0, 0};
    }
    static DrawOp Picture(int32_t image, const Box& box) {
        DrawOp op;
        op.kind = DrawKind::Picture;
        op.box = box;
        op.image = image;
        return op;
    }
    static DrawOp EnergyBar(int32_t emperorEnergy, int32_t rebelEnergy) {
        DrawOp op;
        op.kind = DrawKind::EnergyBar;
        op.a = emperorEnergy;
        op.b = rebelEnergy;
        return op;
    }
};

}  // namespace qx
