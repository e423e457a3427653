#pragma once

#include "ArtBook.h"
#include "Canvas.h"

// The two energy panels, 290 x 20: grey machinery with a recessed window of
// light segments, blue for the Emperor (133), red for the Rebel (134). Each
// panel has its machinery at the outer end (the screen edge) so that the
// lights shorten from the inner end as the gauge is cut back.
namespace artgen {

class PanelArt {
  public:
    static void Add(ArtBook& book);
    // Painted with the outer end on the left; `red` picks the Rebel's colours.
    static Canvas Paint(bool red);
};

}  // namespace artgen
