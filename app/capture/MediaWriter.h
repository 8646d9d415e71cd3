// Encodes pictures and the soundtrack into a video file, or the soundtrack alone into a WAV
// file, through FFmpeg's libraries.
#pragma once

#include "app/capture/CaptureArguments.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Capture {

struct MediaSettings {
    Output output = Output::Mkv; // which codecs and container; not Png
    int width = 0, height = 0;   // picture size in pixels (ignored for Wav)
    int fps = 0;                 // pictures a second (ignored for Wav)
    int quality = 0;             // CRF for Mp4 and Webm
};

// One output file. Pictures and sound go in the order they play; the writer interleaves them.
// Every method throws std::runtime_error naming what failed; the file is then incomplete and
// the caller removes it. Output is bit-exact: the same input gives the same file.
class MediaWriter {
public:
    // Creates `path` and sets up the streams for `settings.output` (whatever the path's own
    // extension, so a temporary name may be used).
    MediaWriter(const std::string& path, const MediaSettings& settings);
    ~MediaWriter();
    MediaWriter(const MediaWriter&) = delete;
    MediaWriter& operator=(const MediaWriter&) = delete;

    // Encodes the next picture: width x height BGRA pixels (alpha ignored), rows packed, the
    // bottom row first, as glReadPixels gives them.
    void writePicture(const std::uint8_t* bgraBottomUp);

    // Encodes the next `frames` frames of 44100 Hz interleaved signed 16-bit stereo.
    void writeSound(const std::int16_t* samples, long frames);

    // Drains the encoders and completes the file.
    void finish();

private:
    struct State;
    std::unique_ptr<State> state;
};

} // namespace Capture
