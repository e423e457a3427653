// The energy gauges: the panels drawn whole, and the strip of backdrop that
// covers the energy each ship has lost.
#include <gtest/gtest.h>

#include "gfx/ResourceLibrary.h"
#include "panel/EnergyPanel.h"
#include "tests/ships/PixelProbe.h"

namespace qx {
namespace {

struct BarRow {
    int32_t e, r;        // energies
    int32_t sx, sw;      // arena strip
    int32_t dx, dw, dh;  // where it lands in 800 x 600
};

// Every row of the worked table.
constexpr BarRow kBarRows[] = {
    {500, 500, 290, 20, 386, 26, 30},   {250, 500, 145, 165, 193, 220, 30},
    {500, 250, 290, 165, 386, 220, 30}, {500, 0, 290, 310, 386, 413, 30},
    {0, 0, 0, 600, 0, 800, 30},         {3, 500, 1, 308, 2, 410, 30},
};

TEST(EnergyBar, StripAndTargetFollowTheWorkedTable) {
    for (const BarRow& row : kBarRows) {
        SCOPED_TRACE(testing::Message() << "E " << row.e << " R " << row.r);
        EXPECT_EQ(EnergyPanel::EnergyBarSource(row.e, row.r), (Box{row.sx, 0, row.sw, 20}));
        EXPECT_EQ(EnergyPanel::EnergyBarTarget(test::ClientOf(800, 600), row.e, row.r),
                  (Box{row.dx, 0, row.dw, row.dh}));
    }
}

TEST(EnergyBar, DrawnStripCoversExactlyTheTargetAt800x600) {
    const EnergyPanel panel;
    const Surface backdrop = test::PositionBackdrop();
    for (const BarRow& row : kBarRows) {
        SCOPED_TRACE(testing::Message() << "E " << row.e << " R " << row.r);
        Surface screen(800, 600, test::kMarker);
        panel.DrawEnergyBar(screen, test::ClientOf(800, 600), backdrop, row.e, row.r);
        EXPECT_EQ(test::ChangedBounds(screen), (Box{row.dx, 0, row.dw, row.dh}));
        EXPECT_EQ(test::CountChanged(screen), row.dw * row.dh);
        // Every pixel comes from the strip of the backdrop's top rows.
        for (int x = row.dx; x < row.dx + row.dw; ++x) {
            const uint32_t p = screen.Pixel(x, 0);
            ASSERT_GE(static_cast<int>(p >> 10), row.sx);
            ASSERT_LT(static_cast<int>(p >> 10), row.sx + row.sw);
            ASSERT_LT(static_cast<int>(p & 1023), 20);
        }
    }
}

TEST(EnergyBar, OnePointNoLongerShowsOnTheLeftPanel) {
    EXPECT_EQ(EnergyPanel::EnergyBarSource(1, 500).x, 0);
    EXPECT_EQ(EnergyPanel::EnergyBarSource(0, 500), (Box{0, 0, 310, 20}));
    EXPECT_EQ(EnergyPanel::EnergyBarSource(500, 1).x + EnergyPanel::EnergyBarSource(500, 1).w, 599);
}

TEST(EnergyBar, OneToOneAt600x400) {
    const EnergyPanel panel;
    const Surface backdrop = test::PositionBackdrop();
    Surface screen(600, 400, test::kMarker);
    panel.DrawEnergyBar(screen, test::ClientOf(600, 400), backdrop, 250, 400);
    const Box strip = EnergyPanel::EnergyBarSource(250, 400);
    EXPECT_EQ(strip, (Box{145, 0, 223, 20}));
    EXPECT_EQ(test::ChangedBounds(screen), strip);
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, strip));
}

TEST(EnergyBar, VeryWideClientDoesNotOverflowTheProduct) {
    // 290 * 500 * 20000 is beyond 32 bits.
    const Box target = EnergyPanel::EnergyBarTarget(test::ClientOf(20000, 400), 500, 500);
    EXPECT_EQ(target.x, 9666);
}

TEST(EnergyPanels, DrawnWholeOneToOneAt600x400) {
    const EnergyPanel panel;
    Surface screen(600, 400, test::kMarker);
    panel.DrawPanels(screen, test::ClientOf(600, 400));
    EXPECT_EQ(test::ChangedBounds(screen), (Box{0, 0, 600, 20}));
    const Surface blue = LoadBitmapResource(133);
    const Surface red = LoadBitmapResource(134);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 290; ++x) {
            ASSERT_EQ(screen.Pixel(x, y), blue.Pixel(x, y));
            ASSERT_EQ(screen.Pixel(310 + x, y), red.Pixel(x, y));
        }
        for (int x = 290; x < 310; ++x) ASSERT_EQ(screen.Pixel(x, y), test::kMarker);
    }
}

TEST(EnergyPanels, ScaledWithTheClientArea) {
    const EnergyPanel panel;
    Surface screen(800, 600, test::kMarker);
    panel.DrawPanels(screen, test::ClientOf(800, 600));
    // 290 * 800 / 600 = 386 wide, 30 high; the right one at 413.
    EXPECT_EQ(test::ChangedBounds(screen), (Box{0, 0, 799, 30}));
    EXPECT_EQ(test::CountChanged(screen), 2 * 386 * 30);
    EXPECT_EQ(screen.Pixel(386, 0), test::kMarker);
    EXPECT_EQ(screen.Pixel(412, 29), test::kMarker);
    EXPECT_NE(screen.Pixel(413, 29), test::kMarker);
}

}  // namespace
}  // namespace qx
