// How much later than the audio callbacks say the music is heard, from a sound server's reports.
#pragma once

#include <cstdint>

// Smooths a sound server's latency reports into the delay the clock applies, in milliseconds:
// how much later than the callbacks' anchor the music is heard. Reports scatter (tens of
// milliseconds through PipeWire's pulse layer), and one may be taken while a buffer is in flight
// between the callback and the server: the delay is the median of the last kReports. Used on
// the thread that receives the reports.
class HeardDelay {
public:
    static constexpr int kReports = 15; // 1.5 s of reports, one every 100 ms
    // Delays further than this from zero are no sound path's, in milliseconds: a report taken
    // across the music's start.
    static constexpr double kLargestMs = 5000.0;

    // A report at tick `ticks`: of the `handedOver` frames handed to the server since the music
    // started, the last `latencyMs` milliseconds' worth are still to be played; `anchor` is the
    // clock's anchor from the callbacks then (set). Returns the delay to apply, ms.
    double report(std::int32_t anchor, std::uint32_t ticks, std::int64_t handedOver,
                  double latencyMs);
    // The delay to apply, ms: 0 before any report.
    double delayMs() const;

private:
    double delays[kReports] = {}; // a ring of the latest reports' delays, ms
    int next = 0;                 // where the next report goes
    int count = 0;                // reports held, up to kReports
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
