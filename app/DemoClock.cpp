// The demo clock: seconds since the music started, read from SDL's millisecond tick counter
// against an anchor that the audio callbacks keep where the music is.
#include "app/DemoClock.h"

namespace DemoClock {

std::int32_t anchorAt(std::uint32_t ticks) {
    return musicAnchorAt(ticks, 0);
}

std::int32_t musicAnchorAt(std::uint32_t ticks, std::int64_t framesPlayed) {
    const double aheadMs =
        kAnchorLeadMs + static_cast<double>(framesPlayed) * 1000.0 / Audio::kSampleRate;
    // Truncated toward zero, then wrapped to 32 bits like the tick counter itself.
    const auto truncated = static_cast<std::int64_t>(static_cast<double>(ticks) - aheadMs);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(truncated));
}

std::int32_t anchorAfterCallback(std::int32_t anchor, std::uint32_t ticks,
                                 std::int64_t framesPlayed) {
    const std::int32_t music = musicAnchorAt(ticks, framesPlayed);
    if (music == kNotAnchored)
        return anchor;
    if (framesPlayed == 0 || anchor == kNotAnchored)
        return music;
    // How far the music is behind the clock: a later anchor means an earlier reading.
    const auto behindMs = static_cast<std::int32_t>(static_cast<std::uint32_t>(music) -
                                                    static_cast<std::uint32_t>(anchor));
    return behindMs > kFollowThresholdMs ? music : anchor;
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

bool anchorFromCallback(std::atomic<std::int32_t>& anchor, std::uint32_t ticks,
                        std::int64_t framesPlayed) {
    const std::int32_t current = anchor.load();
    const std::int32_t next = anchorAfterCallback(current, ticks, framesPlayed);
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

double secondsAt(std::uint32_t ticks, std::int32_t anchor) {
    const std::uint32_t elapsed = ticks - static_cast<std::uint32_t>(anchor);
    return static_cast<double>(static_cast<std::int32_t>(elapsed)) / 1000.0;
}

} // namespace DemoClock
