// The demo clock's anchoring and reading, and the schedule it drives.
#include "app/DemoClock.h"
#include "app/Schedule.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <vector>

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

// Who may anchor the clock while the main loop waits, from tick `since`, for the first callback.
struct AnchorEvent {
    bool fromCallback;  // the audio callback, else the main loop's timeout check
    std::uint32_t tick; // when it happens
    bool sets;          // whether it sets the anchor
};
struct AnchorRace {
    const char* name;
    std::uint32_t since;
    std::vector<AnchorEvent> events;
    std::int32_t anchor; // the anchor afterwards
};

void PrintTo(const AnchorRace& race, std::ostream* os) {
    *os << race.name;
}

class FirstCallbackWait : public ::testing::TestWithParam<AnchorRace> {};

TEST_P(FirstCallbackWait, FirstComerAnchorsAndTheOtherMovesNothing) {
    const AnchorRace& race = GetParam();
    std::atomic<std::int32_t> anchor{DemoClock::kNotAnchored};
    for (const AnchorEvent& event : race.events) {
        const bool set = event.fromCallback
                             ? DemoClock::anchorFromCallback(anchor, event.tick)
                             : DemoClock::anchorOnTimeout(anchor, race.since, event.tick);
        EXPECT_EQ(set, event.sets)
            << (event.fromCallback ? "callback" : "timeout") << " at tick " << event.tick;
    }
    EXPECT_EQ(anchor.load(), race.anchor);
}

constexpr bool kCallback = true, kTimeout = false;
INSTANTIATE_TEST_SUITE_P(
    Races, FirstCallbackWait,
    ::testing::Values(
        AnchorRace{"CallbackInTime",
                   500,
                   {{kTimeout, 900, false}, {kCallback, 1000, true}, {kTimeout, 2600, false}},
                   814},
        AnchorRace{"TimeoutAfterTwoSecondsThenLateCallback",
                   500,
                   {{kTimeout, 2499, false}, {kTimeout, 2500, true}, {kCallback, 2700, false}},
                   2500},
        AnchorRace{"SecondCallbackKeepsTheFirstAnchor",
                   0,
                   {{kCallback, 1000, true}, {kCallback, 1200, false}},
                   814},
        AnchorRace{"CallbackAtTick184LeavesItToTheTimeout",
                   0,
                   {{kCallback, 184, false}, {kTimeout, 1999, false}, {kTimeout, 2000, true}},
                   2000},
        AnchorRace{"TimeoutAcrossTheTickWrap",
                   0xFFFFFF00u,
                   {{kTimeout, 0x6CFu, false}, {kTimeout, 0x6D0u, true}},
                   0x6D0}),
    [](const ::testing::TestParamInfo<AnchorRace>& info) { return info.param.name; });

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
