// The demo clock: seconds since the music started, read from SDL's millisecond tick counter
// against an anchor that the audio callbacks keep where the music is.
#include "app/DemoClock.h"

#include <algorithm>
#include <cstdlib>

namespace DemoClock {

std::int32_t anchorAt(std::uint32_t ticks) {
    return musicAnchorAt(ticks, 0);
}

namespace {

// The anchor for a clock that reads `aheadMs` past the music's start at tick `ticks`: truncated
// toward zero, then wrapped to 32 bits like the tick counter itself.
std::int32_t anchorReading(std::uint32_t ticks, double aheadMs) {
    const auto truncated = static_cast<std::int64_t>(static_cast<double>(ticks) - aheadMs);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(truncated));
}

std::int32_t median(const std::int32_t* values, int count) {
    std::int32_t sorted[kTrendWindow];
    std::copy(values, values + count, sorted);
    std::nth_element(sorted, sorted + count / 2, sorted + count);
    return sorted[count / 2];
}

} // namespace

std::int32_t musicAnchorAt(std::uint32_t ticks, std::int64_t framesPlayed) {
    return anchorReading(ticks, kAnchorLeadMs + static_cast<double>(framesPlayed) * 1000.0 /
                                                    Audio::kSampleRate);
}

std::int32_t CallbackTrend::restart(std::int32_t anchor) {
    base = anchor;
    count = 0;
    return anchor;
}

std::int32_t CallbackTrend::follow(std::int32_t anchor, std::uint32_t ticks,
                                   std::int64_t framesPlayed, double heldMs) {
    const std::int32_t music = musicAnchorAt(ticks, framesPlayed);
    if (music == kNotAnchored)
        return anchor;
    if (framesPlayed == 0 || anchor == kNotAnchored || base == kNotAnchored)
        return restart(music);
    // How far the music is behind the clock: a later anchor means an earlier reading.
    if (msAfter(music, anchor) > kFollowThresholdMs + std::max(0.0, heldMs))
        return restart(music);

    recent[count % kTrendWindow] = msAfter(music, base);
    ++count;
    if (count < kTrendWindow)
        return anchor;
    const std::int32_t trend = median(recent, kTrendWindow);
    if (count == kTrendWindow)
        reference = trend;
    // The trend kDriftSpan callbacks ago, where there was one, makes way for this one.
    const int trends = count - kTrendWindow;
    const std::int32_t spanAgo = earlier[trends % kDriftSpan];
    earlier[trends % kDriftSpan] = trend;
    if (trends < kDriftSpan)
        return anchor; // too soon to tell a clock's drift from a device's
    if (std::abs(trend - spanAgo) > kFastestDriftMs * kDriftSpan) {
        // Faster than any clock drifts: a device filling a deeper buffer, or one told to run
        // fast. Its callbacks say nothing of when the music is heard, so the anchor stays where
        // it is, and the drift is measured afresh from here.
        reference = trend - msAfter(anchor, base);
        return anchor;
    }
    const std::int32_t drift = trend - reference;
    const std::int32_t off = msAfter(base, anchor) + drift;
    if (std::abs(off) <= kTrendSlackMs)
        return anchor;
    const std::int32_t step = std::clamp(off, -kTrendStepMs, kTrendStepMs);
    const auto next = static_cast<std::int32_t>(static_cast<std::uint32_t>(anchor) +
                                                static_cast<std::uint32_t>(step));
    return next == kNotAnchored ? anchor : next;
}

namespace {

// Sets `anchor` to `value` if it is unset and `value` is a usable anchor.
bool claim(std::atomic<std::int32_t>& anchor, std::int32_t value) {
    if (value == kNotAnchored)
        return false;
    std::int32_t unset = kNotAnchored;
    return anchor.compare_exchange_strong(unset, value);
}

} // namespace

bool anchorFromCallback(std::atomic<std::int32_t>& anchor, CallbackTrend& trend,
                        std::uint32_t ticks, std::int64_t framesPlayed, double heldMs) {
    const std::int32_t current = anchor.load();
    const std::int32_t next = trend.follow(current, ticks, framesPlayed, heldMs);
    if (next == current)
        return false;
    // The main loop's timeout may set an unset anchor meanwhile; this callback's, being the
    // music's, replaces it.
    return anchor.exchange(next) == kNotAnchored;
}

bool anchorOnTimeout(std::atomic<std::int32_t>& anchor, std::uint32_t since, std::uint32_t ticks) {
    if (ticks - since < kFirstCallbackWaitMs)
        return false;
    return claim(anchor, static_cast<std::int32_t>(ticks));
}

std::int32_t msAfter(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

double secondsAt(std::uint32_t ticks, std::int32_t anchor) {
    const std::uint32_t elapsed = ticks - static_cast<std::uint32_t>(anchor);
    return static_cast<double>(static_cast<std::int32_t>(elapsed)) / 1000.0;
}

} // namespace DemoClock
