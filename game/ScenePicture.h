#pragma once

#include "game/GameState.h"
#include "gfx/DrawSink.h"

namespace qx {

// The whole scene as the state shows it now: backdrop, shots, meteor, ships,
// gauges. Unlike the game's own repaint it runs no rule: it changes nothing
// and draws nothing from the generator, so it can show a state at any time
// (after a resize or exposure in a network game, after a rollback).
void DrawScenePicture(const GameState& state, DrawSink& sink);

}  // namespace qx
