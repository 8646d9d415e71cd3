// The demo clock: seconds since the music started, read from SDL's millisecond tick counter.
#include "app/DemoClock.h"

namespace DemoClock {

std::int32_t anchorAt(std::uint32_t ticks) {
    // Truncated toward zero, then wrapped to 32 bits like the tick counter itself.
    const auto truncated = static_cast<std::int64_t>(static_cast<double>(ticks) - kAnchorLeadMs);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(truncated));
}

double secondsAt(std::uint32_t ticks, std::int32_t anchor) {
    const std::uint32_t elapsed = ticks - static_cast<std::uint32_t>(anchor);
    return static_cast<double>(static_cast<std::int32_t>(elapsed)) / 1000.0;
}

} // namespace DemoClock
