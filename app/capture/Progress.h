// Reports an export's progress on stderr: one line redrawn in place on a terminal, one line
// per tenth otherwise, and a closing summary.
#pragma once

#include <cstdio>
#include <string>

namespace Capture {

// "42% 1436/3420 frames, 12.3 fps, 2:41 left": percent done, units done and in all, the rate
// so far in units per wall second, and the time left at that rate (omitted before any is done).
std::string progressLine(long done, long total, double elapsedSeconds, const char* units,
                         const char* rateUnits);

// "3420 frames, 114.00 s of show, in 4:10 (250.3 s), 45.2 MB"
std::string summaryLine(long units, const char* unitsName, double showSeconds,
                        double elapsedSeconds, long long bytes);

class Progress {
public:
    // `terminal`: redraw one line in place; else print a line at each tenth of `total`.
    Progress(std::FILE* stream, bool terminal, long total, const char* units,
             const char* rateUnits);
    // Reports `done` units after `elapsedSeconds` of wall time. On a terminal redraws at most
    // about five times a second, and always at the end.
    void update(long done, double elapsedSeconds);
    // Ends the in-place line, if one was drawn.
    void close();

private:
    std::FILE* stream;
    bool terminal;
    long total;
    const char* units;
    const char* rateUnits;
    int tenthsShown = 0;     // lines printed so far, off a terminal
    double lastDrawn = -1.0; // wall seconds of the last redraw, on a terminal
    bool lineOpen = false;
};

} // namespace Capture
