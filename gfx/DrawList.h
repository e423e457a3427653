#pragma once

#include <vector>

#include "gfx/DrawSink.h"

namespace qx {

// Keeps the draw operations it is sent, in order, to be carried out later or
// compared.
class DrawList : public DrawSink {
  public:
    void Draw(const DrawOp& op) override { ops_.push_back(op); }
    const std::vector<DrawOp>& Ops() const { return ops_; }
    void Clear() { ops_.clear(); }

  private:
    std::vector<DrawOp> ops_;
};

}  // namespace qx
