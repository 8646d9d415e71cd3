// How much later than the audio callbacks say the music is heard, from a sound server's reports.
#include "app/HeardDelay.h"

#include <algorithm>

double HeardDelay::report(double latencyMs, double lateMs) {
    if (latencyMs >= 0.0 && latencyMs <= kLargestMs) {
        held.add(latencyMs);
        lateness.add(lateMs);
    }
    return held.quantile(kTop) + lateness.median();
}

double DelaySlew::at(std::uint32_t ticks, double targetMs) {
    const std::uint32_t elapsed = started ? ticks - lastTicks : 0;
    started = true;
    lastTicks = ticks;
    const double most = kRate * static_cast<double>(elapsed);
    appliedMs += std::clamp(targetMs - appliedMs, -most, most);
    return appliedMs;
}
