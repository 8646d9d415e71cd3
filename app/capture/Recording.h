// Records a stretch of the show: renders each frame offscreen and encodes it, with the
// soundtrack placed as it is heard live, on a separate encoder thread.
#pragma once

#include "app/capture/CaptureArguments.h"

#include <csignal>
#include <string>

namespace Capture {

struct RecordingReport {
    bool stopped = false; // the stop flag was raised; the file is incomplete
    long units = 0;       // pictures encoded, or for sound alone, sound frames
};

// Writes the recording `request` asks for (a video file, or with Output::Wav the sound alone)
// to `path`, reporting progress on stderr. Checks `stopFlag` between frames and returns with
// `stopped` set once it is non-zero. Throws std::runtime_error naming what failed.
RecordingReport record(const Request& request, const std::string& path,
                       const volatile std::sig_atomic_t& stopFlag);

// The sound of demo time [from, to) as module frames: where it starts and how many.
struct SoundSpan {
    long long first; // module frame heard at `from`; negative while the module has not begun
    long long frames;
};
SoundSpan soundSpan(double from, double to);

} // namespace Capture
