#pragma once

#include <cstdint>

namespace qx {

// A ship's pending weapon request; the numbers are the ones the traces show.
enum class Weapon : int32_t {
    None = 0,
    Up = 1,
    Down = 2,
    Forward = 3,
};

}  // namespace qx
