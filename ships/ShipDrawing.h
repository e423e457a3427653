#pragma once

#include "common/Arena.h"
#include "gfx/DrawSink.h"
#include "ships/Ship.h"

// How a ship and its shots are drawn: each sprite is composed in a box of
// backdrop around it (mask AND, then image OR) and the box is copied onto the
// screen in one piece; the box's margin of backdrop wipes where the sprite
// was drawn before. These only describe the drawing; they change nothing.
namespace qx {

// The arena box the ship is drawn in: its 50 x 21 picture with a margin of 9.
Box ShipBox(const Ship& ship);

// The resource numbers of the ship's current picture and mask.
int ShipImageId(const Ship& ship);
int ShipMaskImageId(const Ship& ship);

void DrawShip(const Ship& ship, DrawSink& sink);
// Every live shot at its place, its box grown back along its step when it
// has moved since it was last drawn.
void DrawShots(const Ship& ship, DrawSink& sink);

}  // namespace qx
