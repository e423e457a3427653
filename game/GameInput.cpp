// The input handlers: they only write a person's ship's steering target and
// weapon request; the next tick acts on them.
#include "game/Game.h"
#include "game/VirtualKeys.h"

namespace qx {

void Game::OnMouseMove(int32_t px, int32_t py) {
    if (emperor.computer) return;
    // A window shrunk to nothing has no client area to map from.
    if (clientRect.right <= 0 || clientRect.bottom <= 0) return;
    emperor.targetX = static_cast<int32_t>(int64_t{px} * kArenaWidth / clientRect.right);
    emperor.targetY = static_cast<int32_t>(int64_t{py} * kArenaHeight / clientRect.bottom);
}

void Game::OnLButtonDown() {
    if (!emperor.computer) emperor.fireRequest = 3;
}

void Game::OnRButtonDown() {
    if (!emperor.computer) emperor.fireRequest = 2;
}

void Game::OnKeyDown(int key) {
    if (!emperor.computer && key == vk::kReturn) emperor.fireRequest = 1;
    if (rebel.computer) return;

    Ship& r = rebel;
    switch (key) {
        case vk::kSpace:
            r.fireRequest = 3;
            break;
        case vk::kC:
            r.fireRequest = 1;
            break;
        case vk::kX:
            r.fireRequest = 2;
            break;
        case vk::kHome:
        case vk::kNumpad0 + 7:
            r.targetX = r.minX, r.targetY = r.minY;
            break;
        case vk::kUp:
        case vk::kNumpad0 + 8:
            r.targetX = r.x, r.targetY = r.minY;
            break;
        case vk::kNumpad0 + 9:
            r.targetX = r.maxX, r.targetY = r.minY;
            break;
        case vk::kLeft:
        case vk::kNumpad0 + 4:
            r.targetX = r.minX, r.targetY = r.y;
            break;
        case vk::kInsert:
        case vk::kNumpad0 + 0:
            r.targetX = r.x, r.targetY = r.y;
            break;
        case vk::kRight:
        case vk::kNumpad0 + 6:
            r.targetX = r.maxX, r.targetY = r.y;
            break;
        case vk::kEnd:
        case vk::kNumpad0 + 1:
            r.targetX = r.minX, r.targetY = r.maxY;
            break;
        case vk::kDown:
        case vk::kNumpad0 + 2:
            r.targetX = r.x, r.targetY = r.maxY;
            break;
        case vk::kNumpad0 + 3:
            r.targetX = r.maxX, r.targetY = r.maxY;
            break;
        default:
            break;
    }
}

}  // namespace qx
