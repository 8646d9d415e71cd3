// How much later than the audio callbacks say the music is heard, from a sound server's reports.
#include "app/HeardDelay.h"

#include <algorithm>
#include <array>

double HeardDelay::report(double latencyMs) {
    if (latencyMs >= 0.0 && latencyMs <= kLargestMs) {
        delays[next] = latencyMs;
        next = (next + 1) % kReports;
        count = std::min(count + 1, kReports);
    }
    return delayMs();
}

double HeardDelay::delayMs() const {
    const int n = count;
    if (n == 0)
        return 0.0;
    std::array<double, kReports> sorted{};
    std::copy(delays, delays + n, sorted.begin());
    std::sort(sorted.begin(), sorted.begin() + n);
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
