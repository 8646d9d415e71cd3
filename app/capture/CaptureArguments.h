// The capture tool's command line: what to write, at what size, rate and quality, over which
// stretch of demo time. Pure: no file is touched and nothing is rendered.
#pragma once

#include <string>
#include <vector>

namespace Capture {

// What the output file's extension asks for.
enum class Output {
    Png,  // one frame (--time)
    Mp4,  // H.264 yuv420p BT.709 limited range, AAC
    Mkv,  // lossless: FFV1 RGB, FLAC
    Webm, // VP9 yuv420p, Opus at 48 kHz
    Wav   // the soundtrack alone, 44100 Hz signed 16-bit stereo
};

struct Request {
    Output output = Output::Png;
    std::string path;                // --out
    int width = 1920, height = 1080; // --size, pixels
    int fps = 60;                    // --fps, frames per second of demo time
    double from = 0.0, to = 114.0;   // --from, --to: demo seconds, the range [from, to)
    int quality = 0;                 // --quality: CRF; defaults 18 (MP4) and 31 (WebM)
    double time = 0.0;               // --time: the one frame's demo second (PNG)
    bool help = false;               // --help: print the usage and do nothing else
};

// The largest width or height accepted before the GL's own limit is known, pixels.
constexpr int kMaxSide = 16384;
// The most pixels a video frame may hold (FFmpeg's own limit lies just above).
constexpr long kMaxVideoPixels = 8192L * 8192L;

// Reads the arguments that follow the program's name. Returns "" and fills `request`, or one
// line saying what is wrong (for exit status 2). Every flag takes one value and may be given
// once; which flags apply depends on the output's extension.
std::string parseArguments(const std::vector<std::string>& arguments, Request& request);

// Frames in a recording of [from, to) at fps: ceil((to - from) x fps), with the product's
// rounding error forgiven so that 0.3 s at 10 fps is 3 frames.
long frameCount(const Request& request);

// Demo clock of frame `n` of a recording, seconds: from + n / fps, exact whenever `from` is a
// whole number of frames.
double frameTime(const Request& request, long n);

// The usage text, several lines.
const char* usage();

} // namespace Capture
