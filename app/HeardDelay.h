// How much later than the audio callbacks say the music is heard, from a sound server's reports.
#pragma once

#include "app/RecentMedian.h"

#include <cstdint>

// How much later than the clock's anchor the music is heard through a sound server, in
// milliseconds, from the server's reports and the callbacks' own timing. SDL hands each device
// buffer to the server piece by piece as the server asks for it, so what the server reports it
// holds rises by a piece at each request and drains until the next: a frame is heard as long
// after it is handed over as the server holds when its queue is topped up, the top of that
// sawtooth (the second highest of the last kReports, which a single stray report does not move).
// The callbacks come when the server asks after the last piece of a buffer, up to a piece or two
// late against the music: their median lateness against the anchor is added. PipeWire's pulse
// layer reports a steady figure instead (OutputLatency), which scatters by tens of
// milliseconds. Used on the reports' thread.
class HeardDelay {
public:
    static constexpr int kReports = 31;  // 3.1 s of reports, one every 100 ms
    static constexpr double kTop = 0.97; // the share of reports at or below the top of the queue
    // Longer is no sound path's latency but a broken report, in milliseconds.
    static constexpr double kLargestMs = 5000.0;

    // A report: the server holds `latencyMs` milliseconds of the demo's sound before it is
    // heard, and the latest callback came `lateMs` after the anchor has its music due
    // (musicAnchorAt against the anchor). Returns the delay to apply, ms; 0 before any report.
    double report(double latencyMs, double lateMs);
    // Forgets the reports: the anchor moved outright, and they were set against the old one.
    void clear() {
        held.clear();
        lateness.clear();
    }

private:
    RecentMedian<kReports> held;     // what the server held, ms
    RecentMedian<kReports> lateness; // how late the latest callback was then, ms
};

// Moves the delay the clock applies toward the reported one without a visible jump: by at most
// kRate milliseconds per millisecond of the tick counter, so the picture runs at most 10 % slow
// or fast meanwhile. Used on the main thread, as it reads the clock.
class DelaySlew {
public:
    static constexpr double kRate = 0.1;

    // The delay to apply at tick `ticks` (ms), on the way to `targetMs`.
    double at(std::uint32_t ticks, double targetMs);
    // Starts again from no delay, as when the music starts.
    void reset() { *this = DelaySlew(); }

private:
    double appliedMs = 0.0;
    std::uint32_t lastTicks = 0;
    bool started = false;
};
