// The demo clock: seconds since the music started, read from SDL's millisecond tick counter
// against an anchor that the audio callbacks keep where the music is.
#pragma once

#include "app/ModuleRenderer.h"

#include <atomic>
#include <cstdint>

namespace DemoClock {

constexpr std::int32_t kNotAnchored = -1;
// The audio lead (one device buffer, 185.76 ms) in milliseconds: the first callback's audio
// is heard that long after the callback runs, so the clock starts that much earlier.
constexpr double kAnchorLeadMs = Audio::kLeadFrames * 1000.0 / Audio::kSampleRate;

// How far the music may fall behind the tick counter, in milliseconds, before the clock moves to
// where the music is. A device asks for its buffers a few milliseconds late when the machine is
// idle and tens of milliseconds late when it is busy, so that much is let pass; a lost device
// buffer (185.76 ms) is always followed, and what is left after following is well under it.
constexpr std::int32_t kFollowThresholdMs = 50;

// The anchor for a first audio callback at tick `ticks`. A result of kNotAnchored (tick 184)
// means the next callback must try again.
std::int32_t anchorAt(std::uint32_t ticks);

// The anchor that puts the clock where the music is, for an audio callback at tick `ticks` after
// `framesPlayed` frames have been handed to the device since the music started: the clock then
// reads the demo time of the frames this callback renders, exactly as at the first callback,
// which is anchorAt(ticks) (framesPlayed 0). kNotAnchored is never a usable result.
std::int32_t musicAnchorAt(std::uint32_t ticks, std::int64_t framesPlayed);

// Callbacks whose music anchors make up the device's trend: about 1.7 s of device buffers.
constexpr int kTrendWindow = 9;
// How far one callback may move the anchor along the trend, in milliseconds: up to 1 % of the
// tick counter's pace, ten times what a sound card's clock or a disk driver's sleep drifts.
constexpr std::int32_t kTrendStepMs = 2;
// How far the trend may lie from the anchor before the anchor moves, in milliseconds: the median
// of callbacks that come a few milliseconds late, at random, wanders about that much.
constexpr std::int32_t kTrendSlackMs = 3;
// The fastest drift the anchor follows, in milliseconds a callback (0.54 %), measured over
// kDriftSpan callbacks (5 s): fifty times what a sound card's clock drifts, and well beyond a
// disk driver's. A faster trend is no clock's.
constexpr std::int32_t kFastestDriftMs = 1;
constexpr int kDriftSpan = 27;

// The rule each audio callback applies to the anchor, on the audio thread; one per playing.
// - The first callback since the music started (framesPlayed 0) anchors the clock at
//   musicAnchorAt, over an anchor the main loop's timeout set without it; so does a later one
//   while the anchor is unset (after a first callback at tick 184).
// - Once a callback finds the music more than kFollowThresholdMs behind the ticks (the process
//   was stopped, the device underran), the anchor moves to musicAnchorAt at once: the clock goes
//   back to where the music is. A sound server that holds what it was handed plays on through a
//   late callback: the music is behind only once the callback is later than the server holds.
// - Otherwise the anchor follows the device's pace against the tick counter, both ways: the
//   median of the last kTrendWindow callbacks' music anchors, against the median of the first
//   kTrendWindow after the anchor was set, is how far the device has drifted since; from
//   kDriftSpan callbacks after that, once the
//   anchor lies more than kTrendSlackMs from the set anchor plus that drift, it moves toward it,
//   kTrendStepMs a callback at most. A median ignores a single early or late callback (a device
//   that takes two buffers at the start), and what the first window shows stays: a device whose
//   callbacks always come a buffer early holds that buffer before it is heard. A drift faster
//   than kFastestDriftMs is not followed, and what it gained is forgotten: a device filling a
//   deeper buffer, or a disk driver told to run fast, says nothing of when the music is heard.
// A musicAnchorAt of kNotAnchored moves nothing. Wrap-safe like the tick counter.
class CallbackTrend {
public:
    // The anchor after a callback at tick `ticks` that finds `framesPlayed` frames already
    // handed to the device, given the anchor `anchor` before it. `heldMs` is how long the sound
    // path holds what it is handed before it is heard, where a server reports it: a callback
    // that much later still finds the server playing, and is not yet behind.
    std::int32_t follow(std::int32_t anchor, std::uint32_t ticks, std::int64_t framesPlayed,
                        double heldMs = 0.0);

private:
    std::int32_t restart(std::int32_t anchor);

    std::int32_t base = kNotAnchored;       // the anchor as the rule last set it outright
    std::int32_t recent[kTrendWindow] = {}; // music anchors minus base, ms, a ring
    int count = 0;                          // callbacks since base was set
    std::int32_t reference = 0;             // median of the first window, ms from base
    std::int32_t earlier[kDriftSpan] = {};  // the trend of the last kDriftSpan callbacks, a ring
};

// How long the main loop waits for the first audio callback before it starts the clock without
// it, in milliseconds.
constexpr std::uint32_t kFirstCallbackWaitMs = 2000;

// An audio callback at tick `ticks`, after `framesPlayed` frames since the music started, applies
// `trend` to `anchor` (`heldMs` as CallbackTrend::follow takes it). Returns whether this call set
// an unset anchor: whether the main loop may still be waiting for it.
bool anchorFromCallback(std::atomic<std::int32_t>& anchor, CallbackTrend& trend,
                        std::uint32_t ticks, std::int64_t framesPlayed, double heldMs = 0.0);

// The main loop, at tick `ticks`, having waited since tick `since` for the first callback: once
// kFirstCallbackWaitMs have passed, anchors `anchor` at `ticks` (demo time 0 now) unless it is
// already set. Returns whether this call set it. A first callback that comes later anchors the
// clock over it (CallbackTrend); the timeout never moves an anchor that is set. Wrap-safe
// like the tick counter.
bool anchorOnTimeout(std::atomic<std::int32_t>& anchor, std::uint32_t since, std::uint32_t ticks);

// How far anchor `a` lies after anchor `b`, in milliseconds, across the tick counter's wrap.
std::int32_t msAfter(std::int32_t a, std::int32_t b);

// Demo clock in seconds at tick `ticks`, for an anchor that is set. Wrap-safe: the difference is
// taken in 32-bit arithmetic and read as a signed number of milliseconds.
double secondsAt(std::uint32_t ticks, std::int32_t anchor);

} // namespace DemoClock
