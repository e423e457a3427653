#pragma once

#include <vector>

#include "common/Arena.h"
#include "gfx/DrawSink.h"
#include "gfx/PaddedBackdrop.h"
#include "gfx/PictureBank.h"
#include "gfx/Surface.h"

namespace qx {

// Carries out draw operations on a client-sized surface: every arena box is
// stretched onto the client area by the arena-to-client rule, each sprite
// composed first in a box of backdrop on a small work surface. Holds the
// decoded pictures and the backdrop; changes no game state.
class SceneRenderer : public DrawSink {
  public:
    SceneRenderer();

    // The surface the operations land on; its size is the client size.
    void SetTarget(Surface* target);
    void Draw(const DrawOp& op) override;

    const PaddedBackdrop& Backdrop() const { return backdrop_; }

  private:
    void DrawSprite(const DrawOp& op);

    PictureBank pictures_;  // first: the backdrop is made from its picture
    PaddedBackdrop backdrop_;
    Surface work_;
    Surface* target_ = nullptr;
    Rect client_;
};

}  // namespace qx
