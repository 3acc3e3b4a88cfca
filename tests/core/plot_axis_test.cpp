#include "app/view/plot_axis.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvel {
namespace {

TEST(PlotAxisTest, RoundBoundsOnAOneTwoFiveStepWithLocaleFreeLabels) {
    const Axis minutes = niceAxis(0, 7.3, 6);
    EXPECT_EQ(minutes.step, 2);
    EXPECT_EQ(minutes.low, 0);
    EXPECT_EQ(minutes.high, 8);
    EXPECT_EQ(minutes.tickCount(), 5);
    EXPECT_EQ(minutes.label(minutes.tick(4)), "8");

    const Axis energy = niceAxis(-0.12, 0.13, 5);
    EXPECT_NEAR(energy.step, 0.05, 1e-15);
    EXPECT_EQ(energy.label(energy.low), "-0.15");
    EXPECT_EQ(energy.label(-1e-18), "0.00");  // never "-0.00"

    // One value gets a band around it; a span that is not finite gets none.
    const Axis flat = niceAxis(-29, -29, 5);
    EXPECT_TRUE(flat.valid());
    EXPECT_LT(flat.low, -29);
    EXPECT_GT(flat.high, -29);
    EXPECT_FALSE(niceAxis(0, HUGE_VAL, 5).valid());
    EXPECT_EQ(niceAxis(0, HUGE_VAL, 5).tickCount(), 0);
}

}  // namespace
}  // namespace korvel
