// The screen after a few ticks of a fixed scenario, compared with a picture
// built here pixel by pixel from the backdrop, the panels and the sprites.
#include <gtest/gtest.h>

#include <memory>

#include "common/Random.h"
#include "game/Game.h"
#include "gfx/ResourceLibrary.h"
#include "tests/game/FakeHost.h"

namespace qx {
namespace {

// (backdrop AND mask) OR image over the w x h rectangle at (left, top).
void Compose(Surface& picture, int left, int top, const Surface& image, const Surface& mask) {
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const uint32_t under = picture.Pixel(left + x, top + y);
            picture.SetPixel(left + x, top + y, (under & mask.Pixel(x, y)) | image.Pixel(x, y));
        }
    }
}

void ComposeShots(Surface& picture, const Ship& ship) {
    for (const Shot& s : ship.shots) {
        if (!s.IsActive()) continue;
        const auto& row = ship.Sprites().shotSprites[s.dx < 0 ? 1 : 0];
        Compose(picture, s.x - s.width / 2, s.y - s.height / 2, row[s.spriteIndex],
                row[s.maskIndex]);
    }
}

// What a 600 x 400 screen should show: the backdrop, the panels along the
// top with the gap between them, and every object over the backdrop.
Surface ExpectedPicture(const Game& game) {
    Surface picture = game.Backdrop();
    const Surface blue = LoadBitmapResource(133);
    const Surface red = LoadBitmapResource(134);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 290; ++x) {
            picture.SetPixel(x, y, blue.Pixel(x, y));
            picture.SetPixel(310 + x, y, red.Pixel(x, y));
        }
    }
    ComposeShots(picture, game.emperor);
    ComposeShots(picture, game.rebel);
    const Meteor& m = game.meteor;
    Compose(picture, m.x - 8, m.y - 9, m.sprites[0], m.masks[0]);
    for (const Ship* ship : {&game.emperor, &game.rebel}) {
        Compose(picture, ship->x - 25, ship->y - 10, *ship->sprite, *ship->mask);
    }
    return picture;
}

int Mismatches(const Surface& a, const Surface& b, std::string& first) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (a.Pixel(x, y) == b.Pixel(x, y)) continue;
            if (n++ == 0) first = std::to_string(x) + "," + std::to_string(y);
        }
    }
    return n;
}

TEST(GamePicture, TickDrawnScreenShowsOnlyBackdropPanelsAndSprites) {
    test::FakeHost host;
    RandomSeed(1);
    Game game(host);
    RandomSeed(5);
    test::StartUp(game, host, false, false, 600, 400);
    ASSERT_EQ(game.meteor.x, 358);

    for (int tick = 1; tick <= 12; ++tick) {
        if (tick == 2) game.OnKeyDown(67);    // the Rebel fires upward
        if (tick == 3) game.OnLButtonDown();  // the Emperor fires forward
        game.OnTimer();
        if (tick % 4 != 0) continue;
        ASSERT_EQ(test::ActiveShots(game.emperor), 1);
        ASSERT_EQ(test::ActiveShots(game.rebel), 1);
        ASSERT_EQ(game.meteor.meteorFrame, 0);
        std::string first;
        EXPECT_EQ(Mismatches(game.Screen(), ExpectedPicture(game), first), 0)
            << "tick " << tick << ", first at " << first;
    }
    EXPECT_EQ(game.emperor.y, 287);
    EXPECT_EQ(game.rebel.shots[0].y, 233);
    EXPECT_EQ(game.emperor.shots[0].x, 305);

    game.OnPaint();  // the full repaint composes the same picture
    std::string first;
    EXPECT_EQ(Mismatches(game.Screen(), ExpectedPicture(game), first), 0) << "first at " << first;
}

void ExpectBlackAndWhiteMasks(const Ship& ship) {
    for (const auto& row : ship.Sprites().shipMasks) {
        for (int frame = 0; frame <= 10; ++frame) {
            const Surface& m = row[frame];
            ASSERT_EQ(m.Width(), 50);
            ASSERT_EQ(m.Height(), 21);
            for (int y = 0; y < m.Height(); ++y) {
                for (int x = 0; x < m.Width(); ++x) {
                    const uint32_t p = m.Pixel(x, y);
                    ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << frame << ": " << x << "," << y;
                }
            }
        }
    }
}

TEST(GamePicture, ShipMasksAreBlackAndWhite) {
    ExpectBlackAndWhiteMasks(Ship(Side::Emperor));
    ExpectBlackAndWhiteMasks(Ship(Side::Rebel));
}

}  // namespace
}  // namespace qx
