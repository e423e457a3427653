#pragma once

#include "gfx/DrawSink.h"
#include "meteor/Meteor.h"

namespace qx {

// The resource number of meteor picture slot `frame` and of its mask.
int MeteorImageId(int32_t frame);

// The rock with its current picture, composed in its draw box (which wipes
// its previous place) and copied onto the screen in one piece. Changes
// nothing.
void DrawMeteor(const Meteor& meteor, DrawSink& sink);

}  // namespace qx
