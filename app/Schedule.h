// The demo's fixed schedule on the demo clock.
#pragma once

namespace Schedule {

constexpr double kMetaballsStart = 18.0; // seconds: the title ends, the metaballs begin
constexpr double kDemoEnd = 114.0;       // seconds: the demo ends

enum class Act { Title, Metaballs, End };

// What the frame at demo clock `t` (seconds) shows.
inline Act actAt(double t) {
    if (t < kMetaballsStart)
        return Act::Title;
    if (t < kDemoEnd)
        return Act::Metaballs;
    return Act::End;
}

} // namespace Schedule
