// How much later than the audio callbacks say the music is heard, from a sound server's reports.
#pragma once

#include <cstdint>

// Smooths a sound server's latency reports into the delay the clock applies, in milliseconds:
// how much later than the callbacks' anchor the music is heard. SDL hands each device buffer to
// the server piece by piece as the server asks for it, so a callback comes when the server is
// ready for more, and its first frame waits as long as the server then holds. The server's
// reports rise and fall by a piece around that (a quarter of a buffer) and scatter by tens of
// milliseconds more through PipeWire's pulse layer: the delay is their median over the last
// kReports. Used on the thread that receives the reports.
class HeardDelay {
public:
    static constexpr int kReports = 31; // 3.1 s of reports, one every 100 ms
    // Longer is no sound path's latency but a broken report, in milliseconds.
    static constexpr double kLargestMs = 5000.0;

    // A report: the server holds `latencyMs` milliseconds of the demo's sound before it is
    // heard. Returns the delay to apply, ms.
    double report(double latencyMs);
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
