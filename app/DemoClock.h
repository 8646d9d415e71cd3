// The demo clock: seconds since the music started, read from SDL's millisecond tick counter.
#pragma once

#include "app/ModuleRenderer.h"

#include <cstdint>

namespace DemoClock {

constexpr std::int32_t kNotAnchored = -1;
// The audio lead (one device buffer, 185.76 ms) in milliseconds: the first callback's audio
// is heard that long after the callback runs, so the clock starts that much earlier.
constexpr double kAnchorLeadMs = Audio::kLeadFrames * 1000.0 / Audio::kSampleRate;

// The anchor for a first audio callback at tick `ticks`. A result of kNotAnchored (tick 184)
// means the next callback must try again.
std::int32_t anchorAt(std::uint32_t ticks);

// Demo clock in seconds at tick `ticks`, for an anchor that is set. Wrap-safe: the difference is
// taken in 32-bit arithmetic and read as a signed number of milliseconds.
double secondsAt(std::uint32_t ticks, std::int32_t anchor);

} // namespace DemoClock
