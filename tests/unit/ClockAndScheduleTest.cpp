// The demo clock's anchoring and reading, and the schedule it drives.
#include "app/DemoClock.h"
#include "app/Schedule.h"

#include <gtest/gtest.h>

namespace {

TEST(DemoClock, AnchorLeadsTheFirstCallbackByOneDeviceBuffer) {
    EXPECT_EQ(DemoClock::anchorAt(1000), 814); // 1000 - 185.76, truncated
    EXPECT_DOUBLE_EQ(DemoClock::secondsAt(1000, DemoClock::anchorAt(1000)), 0.186);
    // Below 186 ticks the anchor is negative and truncates toward zero.
    EXPECT_EQ(DemoClock::anchorAt(100), -85);
    EXPECT_DOUBLE_EQ(DemoClock::secondsAt(100, DemoClock::anchorAt(100)), 0.185);
    EXPECT_DOUBLE_EQ(DemoClock::secondsAt(70000, DemoClock::anchorAt(1000)), 69.186);
}

TEST(DemoClock, TickCount184LeavesTheClockUnanchored) {
    EXPECT_EQ(DemoClock::anchorAt(184), DemoClock::kNotAnchored);
    EXPECT_NE(DemoClock::anchorAt(183), DemoClock::kNotAnchored);
    EXPECT_NE(DemoClock::anchorAt(185), DemoClock::kNotAnchored);
}

TEST(DemoClock, ReadingSurvivesTickCounterWrap) {
    const std::int32_t anchor = DemoClock::anchorAt(0xFFFFFF00u);
    EXPECT_DOUBLE_EQ(DemoClock::secondsAt(0x00000100u, anchor), 0.698);
}

TEST(Schedule, ActsChangeExactlyAt18And114Seconds) {
    using Schedule::Act;
    EXPECT_EQ(Schedule::actAt(0.0), Act::Title);
    EXPECT_EQ(Schedule::actAt(17.999), Act::Title);
    EXPECT_EQ(Schedule::actAt(18.0), Act::Metaballs);
    EXPECT_EQ(Schedule::actAt(113.999), Act::Metaballs);
    EXPECT_EQ(Schedule::actAt(114.0), Act::End);
    EXPECT_EQ(Schedule::actAt(500.0), Act::End);
}

} // namespace
