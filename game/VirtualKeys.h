#pragma once

// The Windows virtual-key codes the game's keyboard handler understands.
namespace qx::vk {

constexpr int kReturn = 13;
constexpr int kSpace = 32;
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kInsert = 45;
constexpr int kC = 67;
constexpr int kX = 88;
constexpr int kNumpad0 = 96;  // keypad digits 0..9 are 96..105

}  // namespace qx::vk
