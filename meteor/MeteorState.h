#pragma once

namespace qx {

// What happened to the meteor since it was last drawn.
enum class MeteorState {
    Flying = 0,
    Hit = 1,     // struck by a shot, still whole
    Broken = 2,  // took its last hit or reached the ground
};

}  // namespace qx
