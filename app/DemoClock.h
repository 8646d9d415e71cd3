// The demo clock: seconds since the music started, read from SDL's millisecond tick counter.
#pragma once

#include "app/ModuleRenderer.h"

#include <atomic>
#include <cstdint>

namespace DemoClock {

constexpr std::int32_t kNotAnchored = -1;
// The audio lead (one device buffer, 185.76 ms) in milliseconds: the first callback's audio
// is heard that long after the callback runs, so the clock starts that much earlier.
constexpr double kAnchorLeadMs = Audio::kLeadFrames * 1000.0 / Audio::kSampleRate;

// The anchor for a first audio callback at tick `ticks`. A result of kNotAnchored (tick 184)
// means the next callback must try again.
std::int32_t anchorAt(std::uint32_t ticks);

// How long the main loop waits for the first audio callback before it starts the clock without
// it, in milliseconds.
constexpr std::uint32_t kFirstCallbackWaitMs = 2000;

// The first audio callback, at tick `ticks`, anchors `anchor` one device buffer early, unless the
// anchor is already set. Returns whether this call set it.
bool anchorFromCallback(std::atomic<std::int32_t>& anchor, std::uint32_t ticks);

// The main loop, at tick `ticks`, having waited since tick `since` for the first callback: once
// kFirstCallbackWaitMs have passed, anchors `anchor` at `ticks` (demo time 0 now) unless it is
// already set. Returns whether this call set it. Whichever of the two comes first wins; the
// other never moves the anchor. Wrap-safe like the tick counter.
bool anchorOnTimeout(std::atomic<std::int32_t>& anchor, std::uint32_t since, std::uint32_t ticks);

// Demo clock in seconds at tick `ticks`, for an anchor that is set. Wrap-safe: the difference is
// taken in 32-bit arithmetic and read as a signed number of milliseconds.
double secondsAt(std::uint32_t ticks, std::int32_t anchor);

} // namespace DemoClock
