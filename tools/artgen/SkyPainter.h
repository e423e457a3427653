#pragma once

#include "Canvas.h"

// The night sky of the backdrop: a deep blue gradient that lightens towards
// the horizon, a faint nebula band, stars of many brightnesses and a few
// colours, and a small moon. The top strip under the energy gauges stays
// plain dark sky.
namespace artgen {

class SkyPainter {
  public:
    static void Paint(Canvas& canvas);
};

}  // namespace artgen
