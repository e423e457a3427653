#include "common/ArenaToClient.h"

namespace qx {
namespace {
// The products are taken as 32-bit values, as the game has always computed
// them; they are done in 64 bits and wrapped so an absurd window size cannot
// trigger undefined behaviour.
int32_t Scale(int32_t value, int32_t size, int32_t arena) {
    const auto product = static_cast<int32_t>(
        static_cast<uint32_t>(static_cast<int64_t>(value) * static_cast<int64_t>(size)));
    return product / arena;
}
}  // namespace

int32_t ArenaToClientX(int32_t x, const Rect& client) {
    return Scale(x, client.right, kArenaWidth);
}

int32_t ArenaToClientY(int32_t y, const Rect& client) {
    return Scale(y, client.bottom, kArenaHeight);
}

Box ArenaToClient(const Box& box, const Rect& client) {
    return {ArenaToClientX(box.x, client), ArenaToClientY(box.y, client),
            ArenaToClientX(box.w, client), ArenaToClientY(box.h, client)};
}

std::optional<Point> ClientToArena(int32_t px, int32_t py, const Rect& client) {
    if (client.right <= 0 || client.bottom <= 0) return std::nullopt;
    return Point{static_cast<int32_t>(int64_t{px} * kArenaWidth / client.right),
                 static_cast<int32_t>(int64_t{py} * kArenaHeight / client.bottom)};
}

}  // namespace qx
