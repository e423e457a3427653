#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gfx/EmbeddedResource.h"

// The game's resources painted in memory: every picture of the catalogue
// stored as the BMP bytes `--out` writes to res/, with the table that the
// browser build uses in place of the one generated from res/ (its download
// then carries this painting code instead of the pictures' pixels).
namespace artgen {

class PaintedResources {
  public:
    // Paints everything once, on the first call.
    static const PaintedResources& Instance();

    std::span<const qx::EmbeddedResource> Table() const { return table_; }

  private:
    PaintedResources();

    std::vector<std::vector<uint8_t>> files_;
    std::vector<qx::EmbeddedResource> table_;
};

}  // namespace artgen
