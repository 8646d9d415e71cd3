// The demo clock: seconds since the music started, read from SDL's millisecond tick counter.
#include "app/DemoClock.h"

namespace DemoClock {

std::int32_t anchorAt(std::uint32_t ticks) {
    // Truncated toward zero, then wrapped to 32 bits like the tick counter itself.
    const auto truncated = static_cast<std::int64_t>(static_cast<double>(ticks) - kAnchorLeadMs);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(truncated));
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

bool anchorFromCallback(std::atomic<std::int32_t>& anchor, std::uint32_t ticks) {
    return anchor.load() == kNotAnchored && claim(anchor, anchorAt(ticks));
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
