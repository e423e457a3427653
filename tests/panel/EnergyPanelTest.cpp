// The energy gauges: the strip of backdrop that covers the energy each ship
// has lost, and where it lands in the client area.
#include <gtest/gtest.h>

#include "panel/EnergyPanel.h"
#include "tests/gfx/PixelProbe.h"

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

TEST(EnergyBar, OnePointNoLongerShowsOnTheLeftPanel) {
    EXPECT_EQ(EnergyPanel::EnergyBarSource(1, 500).x, 0);
    EXPECT_EQ(EnergyPanel::EnergyBarSource(0, 500), (Box{0, 0, 310, 20}));
    EXPECT_EQ(EnergyPanel::EnergyBarSource(500, 1).x + EnergyPanel::EnergyBarSource(500, 1).w, 599);
}

TEST(EnergyBar, VeryWideClientDoesNotOverflowTheProduct) {
    // 290 * 500 * 20000 is beyond 32 bits.
    const Box target = EnergyPanel::EnergyBarTarget(test::ClientOf(20000, 400), 500, 500);
    EXPECT_EQ(target.x, 9666);
}

}  // namespace
}  // namespace qx
