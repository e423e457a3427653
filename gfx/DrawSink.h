#pragma once

#include "gfx/DrawOp.h"

namespace qx {

// Where the rules send their draw operations, in order: a renderer that
// carries each out at once, a list that keeps them, or nothing at all (a
// re-run that is never shown).
class DrawSink {
  public:
    virtual ~DrawSink() = default;
    virtual void Draw(const DrawOp& op) = 0;
};

}  // namespace qx
