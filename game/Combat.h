#pragma once

#include "game/GameState.h"
#include "gfx/DrawSink.h"
#include "ships/Facing.h"

namespace qx {

// The hit tests of one moment, in the game's fixed order: the Rebel's shots
// against the Emperor, the meteor against the Emperor and his shots, the
// Emperor's shots against the Rebel, the meteor against the Rebel and her
// shots. Energy is taken, hit pictures are drawn at random, struck shots and
// rocks are erased; the gauges are redrawn when a ship lost energy or when
// `forceBarRedraw` asks for it. `sink` may be null (nothing is drawn).
void ResolveCombat(GameState& state, DrawSink* sink, bool forceBarRedraw);

}  // namespace qx
