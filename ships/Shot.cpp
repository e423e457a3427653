#include "ships/Shot.h"

namespace qx {

Box ShotBox(const Shot& shot) {
    Box box{shot.x - shot.width / 2 - 2, shot.y - shot.height / 2 - 2, 0, 0};
    int32_t right = shot.x + shot.width / 2 + 2;
    int32_t bottom = shot.y + shot.height / 2 + 2;
    if (shot.prevX != shot.x || shot.prevY != shot.y) {
        // Grow the box back along the step so it covers the previous picture.
        if (shot.dy > 0) box.y -= shot.dy;
        if (shot.dy < 0) bottom -= shot.dy;
        if (shot.dx > 0) box.x -= shot.dx;
        if (shot.dx < 0) right -= shot.dx;
    }
    box.w = right - box.x;
    box.h = bottom - box.y;
    return box;
}

}  // namespace qx
