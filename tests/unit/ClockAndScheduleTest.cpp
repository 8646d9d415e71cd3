// The demo clock's anchoring, its following of what is heard, and the schedule it drives.
#include "app/DemoClock.h"
#include "app/HeardDelay.h"
#include "app/ModuleRenderer.h"
#include "app/Schedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <ostream>
#include <random>
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

// What moves the anchor from the start of the music: the first callback, or the main loop's
// timeout if no callback has come by then, and then every callback whose music is behind.
struct AnchorEvent {
    bool fromCallback;   // the audio callback, else the main loop's timeout check
    std::uint32_t tick;  // when it happens
    std::int64_t frames; // a callback's: frames handed to the device before it
    std::int32_t anchor; // the anchor afterwards
};
struct AnchorStory {
    const char* name;
    std::uint32_t since; // when the music started, for the timeout
    std::vector<AnchorEvent> events;
};

void PrintTo(const AnchorStory& story, std::ostream* os) {
    *os << story.name;
}

class ClockAnchor : public ::testing::TestWithParam<AnchorStory> {};

// Each event leaves the anchor where the rule says; a call reports that it set the anchor
// exactly when it found none (the first callback's signal to the waiting main loop).
TEST_P(ClockAnchor, FollowsTheMusicOnceItFallsBehind) {
    const AnchorStory& story = GetParam();
    std::atomic<std::int32_t> anchor{DemoClock::kNotAnchored};
    DemoClock::CallbackTrend trend;
    for (const AnchorEvent& event : story.events) {
        const std::int32_t before = anchor.load();
        const bool set =
            event.fromCallback
                ? DemoClock::anchorFromCallback(anchor, trend, event.tick, event.frames)
                : DemoClock::anchorOnTimeout(anchor, story.since, event.tick);
        const char* who = event.fromCallback ? "callback" : "timeout";
        EXPECT_EQ(anchor.load(), event.anchor) << who << " at tick " << event.tick;
        EXPECT_EQ(set, before == DemoClock::kNotAnchored && event.anchor != before)
            << who << " at tick " << event.tick;
    }
}

constexpr bool kCallback = true, kTimeout = false;
constexpr std::int64_t kBuffer = Audio::kBufferFrames; // 185.76 ms of music
// The music's anchor for a callback at tick t after n buffers: t - 185.76 x (n + 1), truncated.
INSTANTIATE_TEST_SUITE_P(
    Stories, ClockAnchor,
    ::testing::Values(
        AnchorStory{"CallbackInTime",
                    500,
                    {{kTimeout, 900, 0, -1}, {kCallback, 1000, 0, 814}, {kTimeout, 2600, 0, 814}}},
        // The first callback anchors the clock over the timeout's anchor, even a little earlier.
        AnchorStory{"TimeoutAfterTwoSecondsThenTheFirstCallback",
                    500,
                    {{kTimeout, 2499, 0, -1},
                     {kTimeout, 2500, 0, 2500},
                     {kCallback, 2600, 0, 2414},
                     {kCallback, 2786, kBuffer, 2414}}},
        // The music starts 1.3 s after the clock did without it: the clock goes back.
        AnchorStory{"LateFirstCallbackAfterTheTimeout",
                    500,
                    {{kTimeout, 2500, 0, 2500},
                     {kCallback, 4000, 0, 3814},
                     {kCallback, 4186, kBuffer, 3814}}},
        AnchorStory{"CallbackAtTick184LeavesItToTheTimeout",
                    0,
                    {{kCallback, 184, 0, -1}, {kTimeout, 1999, 0, -1}, {kTimeout, 2000, 0, 2000}}},
        AnchorStory{"TimeoutAcrossTheTickWrap",
                    0xFFFFFF00u,
                    {{kTimeout, 0x6CFu, 0, -1}, {kTimeout, 0x6D0u, 0, 0x6D0}}},
        // Callbacks up to 22 ms late or 20 ms early against their music: nothing moves.
        AnchorStory{"AgreementWithJitter",
                    0,
                    {{kCallback, 1000, 0, 814},
                     {kCallback, 1205, kBuffer, 814},
                     {kCallback, 1352, 2 * kBuffer, 814},
                     {kCallback, 1580, 3 * kBuffer, 814}}},
        // A device that takes two buffers at once, or asks every 150 ms for a few buffers: early,
        // but no trend yet, so nothing moves.
        AnchorStory{"EarlyCallbacksMoveNothing",
                    0,
                    {{kCallback, 1000, 0, 814},
                     {kCallback, 1001, kBuffer, 814},
                     {kCallback, 1186, 2 * kBuffer, 814},
                     {kCallback, 1336, 3 * kBuffer, 814},
                     {kCallback, 1486, 4 * kBuffer, 814}}},
        AnchorStory{"FiftyMillisecondsBehindIsLetPassFiftyOneAreFollowed",
                    0,
                    {{kCallback, 1000, 0, 814},
                     {kCallback, 1236, kBuffer, 814},
                     {kCallback, 1423, 2 * kBuffer, 865}}},
        // Stopped for 3 s after the third buffer: the clock goes back 2.8 s and stays there.
        AnchorStory{"Stall",
                    0,
                    {{kCallback, 1000, 0, 814},
                     {kCallback, 1186, kBuffer, 814},
                     {kCallback, 1372, 2 * kBuffer, 814},
                     {kCallback, 4372, 3 * kBuffer, 3628},
                     {kCallback, 4558, 4 * kBuffer, 3628}}},
        // The device starved for 120 ms: the clock follows the music by as much.
        AnchorStory{"Underrun",
                    0,
                    {{kCallback, 1000, 0, 814},
                     {kCallback, 1186, kBuffer, 814},
                     {kCallback, 1492, 2 * kBuffer, 934},
                     {kCallback, 1678, 3 * kBuffer, 934}}},
        AnchorStory{"StallAcrossTheTickWrap",
                    0,
                    {{kCallback, 0xFFFFFF00u, 0, -442}, {kCallback, 0xB00u, kBuffer, 2444}}}),
    [](const ::testing::TestParamInfo<AnchorStory>& info) { return info.param.name; });

// A sound path, simulated a millisecond at a time over a minute of the show: a device that asks
// for each buffer when it has room (late by a few ms, now and then) and plays the frames at its
// own pace, heard `latencyMs` after the callback that handed them over; a server that reports
// ten times a second what it holds, that latency when SDL has just topped it up and down to a
// quarter buffer less as it drains, and scattered further. Through a server, callbacks come as much
// as two pieces late, and the server then holds as much less. The clock, composed as the player
// composes it (callbacks, reports, the main thread's slew), must read the demo time of what is
// heard.
struct SoundPath {
    const char* name;
    double pace = 1.0;          // device frames per nominal frame: above 1 runs fast
    int queued = 1;             // buffers the device holds: 2 takes two at the start
    double latencyMs = 0.0;     // from a callback to its first frame being heard
    double laterLatencyMs = -1; // from 30 s on, where >= 0 (an output switched mid-show)
    bool reports = false;       // whether a server reports the latency
    int scatterMs = 0;          // reports off by up to this much either way, besides the pieces
    double toleranceMs = 0.0;   // the clock against what is heard, once settled (below)
    double lateMs = 16;         // callbacks up to this much late
};

void PrintTo(const SoundPath& path, std::ostream* os) {
    *os << path.name;
}

class HeardClock : public ::testing::TestWithParam<SoundPath> {};

TEST_P(HeardClock, ReadsWhatIsHeard) {
    const SoundPath& path = GetParam();
    const double bufferMs = 1000.0 * Audio::kBufferFrames / Audio::kSampleRate;
    const std::uint32_t start = 1000, switchAt = 31000, end = 61000;
    std::atomic<std::int32_t> anchor{DemoClock::kNotAnchored};
    DemoClock::CallbackTrend trend;
    HeardDelay heard;
    DelaySlew slew;
    double reported = 0.0, late = 0.0, lastLateMs = 0.0, worst = 0.0;
    unsigned moves = 0, movesSeen = 0;
    std::int64_t handedOver = 0;
    int requests = 0;
    std::minstd_rand scatterDraws(24); // the same draws every run
    for (std::uint32_t tick = start; tick < end; ++tick) {
        const double latencyMs =
            path.laterLatencyMs >= 0 && tick >= switchAt ? path.laterLatencyMs : path.latencyMs;
        // Buffer k is asked for once the device has room for it, or a little later.
        const double lateMs = (requests * 13 % 17) * path.lateMs / 16;
        const double due =
            start + std::max(0, requests - (path.queued - 1)) * bufferMs / path.pace + lateMs;
        if (tick >= due) {
            const std::int32_t before = anchor.load();
            DemoClock::anchorFromCallback(anchor, trend, tick, handedOver, reported);
            if (before == DemoClock::kNotAnchored ||
                std::abs(DemoClock::msAfter(anchor.load(), before)) > DemoClock::kTrendStepMs)
                ++moves;
            late = DemoClock::msAfter(DemoClock::musicAnchorAt(tick, handedOver), anchor.load());
            lastLateMs = lateMs;
            handedOver += Audio::kBufferFrames;
            ++requests;
        }
        if (path.reports && (tick - start) % 100 == 50) {
            const double drained = bufferMs / 4 * static_cast<int>(tick / 100 % 5) / 4;
            const double scatter =
                static_cast<int>(scatterDraws() % (2 * path.scatterMs + 1)) - path.scatterMs;
            if (moves != movesSeen)
                heard.clear(), movesSeen = moves;
            reported = heard.report(latencyMs - drained + scatter - lastLateMs, late);
        }
        if ((tick - start) % 16 != 0)
            continue; // the main loop reads the clock once a frame
        const double heardFrames =
            std::max(0.0, (tick - start - latencyMs) * path.pace * Audio::kSampleRate / 1000.0);
        const double truth = (Audio::kLeadFrames + heardFrames) / Audio::kSampleRate;
        const double clock =
            DemoClock::secondsAt(tick, anchor.load()) - slew.at(tick, reported) / 1000.0;
        // The trend is followed from 7 s on; a reported latency is reached within 5 s of a change.
        const bool settling = tick < start + 8000 || (tick >= switchAt && tick < switchAt + 5000);
        if (!settling)
            worst = std::max(worst, std::abs(clock - truth) * 1000.0);
    }
    EXPECT_LE(worst, path.toleranceMs) << "ms off what is heard";
}

INSTANTIATE_TEST_SUITE_P(
    SoundPaths, HeardClock,
    ::testing::Values(
        // Nothing reports: the callbacks alone keep the clock, whatever the device's pace.
        SoundPath{"CallbacksInTime", 1.0, 1, 0, -1, false, 0, 3},
        SoundPath{"CallbacksOfADeviceRunningFast", 1.0015, 1, 0, -1, false, 0, 10},
        SoundPath{"CallbacksOfADeviceRunningSlow", 0.9985, 1, 0, -1, false, 0, 10},
        SoundPath{"CallbacksOfADeviceTakingTwoBuffersAtTheStart", 1.0, 2, 0, -1, false, 0, 3},
        // A server reports how long it holds the sound: the clock follows it.
        SoundPath{"LatencyReported", 1.0, 1, 150, -1, true, 0, 10},
        SoundPath{"LatencyReportedWithCallbacksAPieceOrTwoLate", 1.0, 1, 150, -1, true, 0, 40, 73},
        SoundPath{"LatencyThatChangesMidShow", 1.0, 1, 40, 300, true, 0, 10},
        SoundPath{"LatencyReportsThatScatter", 1.0, 1, 60, -1, true, 30, 40},
        SoundPath{"LatencyReportedByADeviceRunningFast", 1.0015, 1, 100, -1, true, 0, 12},
        SoundPath{"LatencyReportedByADeviceRunningSlow", 0.9985, 1, 100, -1, true, 0, 12}),
    [](const ::testing::TestParamInfo<SoundPath>& info) { return info.param.name; });

// Callbacks far faster than any clock drifts, for a minute: a disk driver told to wait 150 ms a
// buffer, and a device that fills two seconds of buffers ahead over its first ten seconds and then
// keeps pace. Neither says when the music is heard: the anchor keeps to the first callback's.
TEST(CallbackTrend, FollowsNoDriftFasterThanAClocks) {
    const double bufferMs = 1000.0 * Audio::kBufferFrames / Audio::kSampleRate;
    const std::function<double(int)> devices[] = {
        [](int k) { return 150.0 * k; }, // ms after the first callback that callback k comes
        [bufferMs](int k) { return k * bufferMs - std::min(k * bufferMs, 10000.0) * 0.2; }};
    for (const auto& askedAt : devices) {
        std::atomic<std::int32_t> anchor{DemoClock::kNotAnchored};
        DemoClock::CallbackTrend trend;
        for (int k = 0; k < 330; ++k) {
            const auto tick = static_cast<std::uint32_t>(1000 + askedAt(k) + k * 13 % 17);
            DemoClock::anchorFromCallback(anchor, trend, tick,
                                          k * std::int64_t{Audio::kBufferFrames});
            ASSERT_NEAR(anchor.load(), 814, DemoClock::kTrendSlackMs + DemoClock::kTrendStepMs)
                << "callback " << k;
        }
    }
}

// A callback 120 ms late: a device that holds nothing has underrun, and the clock goes back to the
// music; a server that holds 150 ms plays on through it, and nothing moves until it too runs dry.
TEST(CallbackTrend, LateCallbackWithinWhatTheServerHoldsMovesNothing) {
    const std::int64_t buffer = Audio::kBufferFrames;
    struct Case {
        double heldMs;
        std::uint32_t lateMs;
        std::int32_t anchor;
    };
    for (const Case& c : {Case{0, 120, 934}, Case{150, 120, 814}, Case{150, 260, 1074}}) {
        std::atomic<std::int32_t> anchor{DemoClock::kNotAnchored};
        DemoClock::CallbackTrend trend;
        DemoClock::anchorFromCallback(anchor, trend, 1000, 0, c.heldMs);
        DemoClock::anchorFromCallback(anchor, trend, 1186, buffer, c.heldMs);
        DemoClock::anchorFromCallback(anchor, trend, 1372 + c.lateMs, 2 * buffer, c.heldMs);
        EXPECT_EQ(anchor.load(), c.anchor) << c.heldMs << " ms held, " << c.lateMs << " ms late";
    }
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
