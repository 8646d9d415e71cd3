// How much later than the audio callbacks say the music is heard, from a sound server's reports.
#include "app/HeardDelay.h"

#include "app/DemoClock.h"

#include <algorithm>
#include <cmath>

double HeardDelay::report(std::int32_t anchor, std::uint32_t ticks, std::int64_t handedOver,
                          double latencyMs) {
    const std::int32_t heard = DemoClock::heardAnchorAt(ticks, handedOver, latencyMs);
    const auto delay = static_cast<double>(static_cast<std::int32_t>(
        static_cast<std::uint32_t>(heard) - static_cast<std::uint32_t>(anchor)));
    if (std::isfinite(latencyMs) && std::abs(delay) <= kLargestMs) {
        delays[next] = delay;
        next = (next + 1) % kReports;
        count = std::min(count + 1, kReports);
    }
    return delayMs();
}

double HeardDelay::delayMs() const {
    const int n = count;
    if (n == 0)
        return 0.0;
    double sorted[kReports];
    std::copy(delays, delays + n, sorted);
    std::sort(sorted, sorted + n);
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
}

double DelaySlew::at(std::uint32_t ticks, double targetMs) {
    const std::uint32_t elapsed = started ? ticks - lastTicks : 0;
    started = true;
    lastTicks = ticks;
    const double most = kRate * static_cast<double>(elapsed);
    appliedMs += std::clamp(targetMs - appliedMs, -most, most);
    return appliedMs;
}
