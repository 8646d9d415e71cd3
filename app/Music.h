// Plays the embedded module through SDL's audio device and keeps the demo clock's anchor.
//
// The state is process-wide because SDL's audio thread reaches it through a plain callback.
// The main thread loads and starts; afterwards only the audio thread renders. The two share the
// clock anchor alone, as one atomic 32-bit value.
#pragma once

#include <cstdint>

namespace Music {

// Reads the module into a ModuleStream at frame 0. A module DUMB cannot read is reported on
// stderr as a warning and plays as silence.
void loadModule(const unsigned char* data, std::uint32_t size);

// loadModule, then opens the audio device paused: 44100 Hz, signed 16-bit stereo, 8192-frame
// buffers, SDL converting to whatever the device wants. A device that cannot be opened is
// reported on stderr as a warning; the show then plays silently on the tick counter alone.
// Where the sound server reports how long it holds the sound before it is heard
// (OutputLatency), the clock follows those reports for as long as they come: the picture shows
// what is heard, not what was handed over.
void open(const unsigned char* data, std::uint32_t size);

// Shows the picture `ms` milliseconds ahead of its sound (negative: behind), for latency that no
// server reports, such as a projector's or a receiver's. Only while a device plays.
void delaySound(double ms);

// Puts the stream at the module's beginning and unpauses the device; the first callback then
// anchors the clock, and every later one keeps it with the music (DemoClock::CallbackTrend).
// Without a device the clock is anchored here, at 0 s, and only the ticks move it on. Called
// again while the music plays, starts it over the same way: the anchor is forgotten until the
// next callback.
void start();
// Starts as the show would have been at demo time `from` (seconds): the stream at the module
// frame heard then (moduleFrameAtDemoTime), reached by rendering from frame 0; the clock reads
// `from` at the first callback, or without a device at this call.
void startFrom(double from);

bool isAnchored();
// Waits up to `maxMs` milliseconds, asleep, for the first audio callback to anchor the clock.
// If none has come kFirstCallbackWaitMs after start() or startFrom(), warns on stderr and anchors
// the clock at that moment instead; a callback that comes later moves it to where the music is.
// Returns isAnchored().
bool awaitAnchor(std::uint32_t maxMs);
// The demo clock in seconds, never below 0; only meaningful once anchored. Main thread only: a
// newly reported latency reaches it gradually, at most 10 % of the time that passes.
double clockSeconds();

// From now on the callback writes only silence; the device keeps running until stop(). For a
// quick end: the sound stops at once, however long closing the device takes.
void silence();

// Closes the audio device; the callback no longer runs afterwards. Safe to call twice.
void stop();
// Stops, then frees the stream and forgets the anchor.
void release();

// The audio callback: anchors the clock on its first call and keeps it with the music, then fills
// all `length` bytes of `stream` with the stream's next frames (silence where the module has
// nothing), and any trailing partial frame with silence.
void fillStream(void* userData, std::uint8_t* stream, int length);

} // namespace Music
