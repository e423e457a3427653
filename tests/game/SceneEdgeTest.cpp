#include <gtest/gtest.h>

#include "game/Game.h"

using namespace qx;

namespace {

// Black pixels along the four outermost lines of the client area.
long BlackAlongEdges(const Surface& s) {
    long count = 0;
    for (int y = 0; y < s.Height(); ++y) {
        count += s.Pixel(0, y) == 0;
        count += s.Pixel(s.Width() - 1, y) == 0;
    }
    for (int x = 0; x < s.Width(); ++x) {
        count += s.Pixel(x, 0) == 0;
        count += s.Pixel(x, s.Height() - 1) == 0;
    }
    return count;
}

}  // namespace

// Boxes that reach past the arena (ships at their bases, shots and the meteor
// leaving the scene) must not leave black flecks along the window's edges
// when they are scaled onto it: the scene has no pure black anywhere.
TEST(SceneEdges, NoBlackFlecksAlongTheEdgesAtAnySize) {
    for (auto [w, h] : {std::pair{900, 600}, {701, 433}, {599, 399}}) {
        Game game;
        game.SetClientSize(w, h);
        game.Start(5, {false, false});
        game.Apply(GameInput::Repaint());
        game.Apply(GameInput::NewGame(PlayerChoice{false, false}));
        long black = 0;
        for (int tick = 1; tick <= 4000; ++tick) {
            game.Tick();
            if (tick % 20 == 0) black += BlackAlongEdges(game.Screen());
        }
        EXPECT_EQ(black, 0) << w << "x" << h;
    }
}
