// Reports an export's progress on stderr: one line redrawn in place on a terminal, one line
// per tenth otherwise, and a closing summary.
#include "app/capture/Progress.h"

#include <cmath>

namespace Capture {

namespace {

constexpr double kRedrawSeconds = 0.2;

// m:ss for a number of seconds, rounded.
std::string clockText(double seconds) {
    const long whole = std::lround(std::max(0.0, seconds));
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

} // namespace

std::string progressLine(long done, long total, double elapsedSeconds, const char* units,
                         const char* rateUnits) {
    const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
    char text[160];
    int length = std::snprintf(text, sizeof text, "%3d%% %ld/%ld %s", percent, done, total, units);
    if (done > 0 && elapsedSeconds > 0) {
        const double rate = done / elapsedSeconds;
        std::snprintf(text + length, sizeof text - static_cast<size_t>(length),
                      ", %.1f %s, %s left", rate, rateUnits,
                      clockText((total - done) / rate).c_str());
    }
    return text;
}

std::string summaryLine(long units, const char* unitsName, double showSeconds,
                        double elapsedSeconds, long long bytes) {
    char text[200];
    std::snprintf(text, sizeof text, "%ld %s, %.2f s of show, in %s (%.1f s), %.1f MB", units,
                  unitsName, showSeconds, clockText(elapsedSeconds).c_str(), elapsedSeconds,
                  bytes / 1e6);
    return text;
}

Progress::Progress(std::FILE* stream, bool terminal, long total, const char* units,
                   const char* rateUnits)
    : stream(stream), terminal(terminal), total(total), units(units), rateUnits(rateUnits) {}

void Progress::update(long done, double elapsedSeconds) {
    if (terminal) {
        if (done < total && elapsedSeconds - lastDrawn < kRedrawSeconds)
            return;
        lastDrawn = elapsedSeconds;
        // Clear to the end of the line: the new text may be shorter than the old.
        std::fprintf(stream, "\r%s\033[K",
                     progressLine(done, total, elapsedSeconds, units, rateUnits).c_str());
        lineOpen = true;
    } else {
        const int tenths = total > 0 ? static_cast<int>(done * 10 / total) : 10;
        if (tenths <= tenthsShown)
            return;
        tenthsShown = tenths;
        std::fprintf(stream, "%s\n",
                     progressLine(done, total, elapsedSeconds, units, rateUnits).c_str());
    }
    std::fflush(stream);
}

void Progress::close() {
    if (lineOpen)
        std::fputc('\n', stream);
    lineOpen = false;
}

} // namespace Capture
