#pragma once

#include <cstdint>

namespace qx {

// Which way the two ships face each other this tick; also the row of the
// picture tables that holds their pictures.
enum class Facing : int32_t {
    EmperorLeft = 0,   // the Emperor on the left looks right, the Rebel left
    EmperorRight = 1,  // the other way round
};

constexpr int FacingRow(Facing facing) {
    return static_cast<int>(facing);
}

}  // namespace qx
