// Asks the sound server how long the demo's sound waits there before it is heard.
#pragma once

namespace OutputLatency {

// Called on the watcher's own thread with each report: of what the demo has handed to the
// server, the last `latencyMs` milliseconds' worth are still to be played (the stream's buffer
// and the output device's latency together).
using Report = void (*)(double latencyMs);

// Starts watching the demo's playback stream on the sound server that SDL's audio driver
// `audioDriver` plays through, reporting about ten times a second. Returns false, doing nothing,
// where the driver or the platform reports no latency (SDL's disk and dummy drivers, ALSA,
// Windows, a browser) or the server's client library is missing: the clock then keeps to the
// callbacks alone. A server that goes away ends the reports; the show goes on without them.
bool start(const char* audioDriver, Report report);

// Stops watching; no report runs after it returns. Safe to call when not started.
void stop();

} // namespace OutputLatency
