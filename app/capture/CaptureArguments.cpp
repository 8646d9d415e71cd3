// The capture tool's command line: what to write, at what size, rate and quality, over which
// stretch of demo time. Pure: no file is touched and nothing is rendered.
#include "app/capture/CaptureArguments.h"

#include "app/ArgumentNumbers.h"
#include "app/Schedule.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

namespace Capture {

namespace {

constexpr int kMaxFps = 240;
constexpr int kMp4Quality = 18, kMp4MaxQuality = 51;   // x264's CRF scale
constexpr int kWebmQuality = 31, kWebmMaxQuality = 63; // libvpx's CRF scale

const char* const kFlags[] = {"--out", "--size", "--fps", "--from", "--to", "--quality", "--time"};

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

bool outputFor(const std::string& path, Output& output) {
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0)
        return false;
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static const std::map<std::string, Output> kinds = {{"png", Output::Png},
                                                        {"mp4", Output::Mp4},
                                                        {"mkv", Output::Mkv},
                                                        {"webm", Output::Webm},
                                                        {"wav", Output::Wav}};
    const auto found = kinds.find(extension);
    if (found == kinds.end())
        return false;
    output = found->second;
    return true;
}

const char* extensionOf(Output output) {
    switch (output) {
    case Output::Png:
        return ".png";
    case Output::Mp4:
        return ".mp4";
    case Output::Mkv:
        return ".mkv";
    case Output::Webm:
        return ".webm";
    case Output::Wav:
        return ".wav";
    }
    return "";
}

// Which flags a kind of output takes, besides --out.
bool applies(Output output, const std::string& flag) {
    if (flag == "--time")
        return output == Output::Png;
    if (flag == "--size")
        return output != Output::Wav;
    if (flag == "--fps")
        return output != Output::Png && output != Output::Wav;
    if (flag == "--from" || flag == "--to")
        return output != Output::Png;
    if (flag == "--quality")
        return output == Output::Mp4 || output == Output::Webm;
    return true;
}

std::string secondsText(double seconds) {
    std::string text = std::to_string(seconds);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace

std::string parseArguments(const std::vector<std::string>& arguments, Request& request) {
    request = Request{};
    std::map<std::string, std::string> values;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& flag = arguments[i];
        if (flag == "--help" || flag == "-h") {
            request.help = true;
            return "";
        }
        if (std::find(std::begin(kFlags), std::end(kFlags), flag) == std::end(kFlags))
            return "unknown argument " + quoted(flag) + " (see --help)";
        if (i + 1 >= arguments.size())
            return flag + " needs a value";
        if (values.count(flag))
            return flag + " is given more than once";
        values[flag] = arguments[++i];
    }

    const auto out = values.find("--out");
    if (out == values.end() || out->second.empty())
        return "--out FILE is required (.png with --time, or .mp4, .mkv, .webm, .wav)";
    request.path = out->second;
    if (request.path.back() == '/' || !outputFor(request.path, request.output))
        return "--out " + quoted(request.path) +
               " needs a file name ending in .png, .mp4, .mkv, .webm or .wav";
    for (const auto& [flag, value] : values)
        if (!applies(request.output, flag))
            return flag + " does not apply to a " + extensionOf(request.output) + " file";
    if (request.output == Output::Png && !values.count("--time"))
        return "a .png file is one frame: give its demo time with --time SECONDS";

    const double end = Schedule::kDemoEnd;
    const auto has = [&](const char* flag) { return values.count(flag) != 0; };
    if (has("--size")) {
        const std::string& text = values["--size"];
        if (!ArgumentNumbers::parseSize(text, request.width, request.height) ||
            request.width > kMaxSide || request.height > kMaxSide)
            return "--size needs WIDTHxHEIGHT, each from 1 to " + std::to_string(kMaxSide) +
                   " pixels, not " + quoted(text);
    }
    const bool video = request.output != Output::Png && request.output != Output::Wav;
    if (video && static_cast<long>(request.width) * request.height > kMaxVideoPixels)
        return "--size " + std::to_string(request.width) + "x" + std::to_string(request.height) +
               ": a video frame holds at most " + std::to_string(kMaxVideoPixels) +
               " pixels (8192x8192)";
    if ((request.output == Output::Mp4 || request.output == Output::Webm) &&
        (request.width % 2 != 0 || request.height % 2 != 0))
        return std::string("--size ") + std::to_string(request.width) + "x" +
               std::to_string(request.height) + ": a " + extensionOf(request.output) +
               " file needs an even width and height";
    if (has("--time")) {
        const std::string& text = values["--time"];
        if (!ArgumentNumbers::parseSeconds(text, request.time) || request.time >= end)
            return "--time needs demo seconds from 0 to below " + secondsText(end) + ", not " +
                   quoted(text);
    }
    if (has("--fps")) {
        const std::string& text = values["--fps"];
        if (!ArgumentNumbers::parseWholeNumber(text, request.fps) || request.fps < 1 ||
            request.fps > kMaxFps)
            return "--fps needs a whole number of frames a second from 1 to " +
                   std::to_string(kMaxFps) + ", not " + quoted(text);
    }
    for (const char* flag : {"--from", "--to"}) {
        if (!has(flag))
            continue;
        const std::string& text = values[flag];
        double& seconds = std::string(flag) == "--from" ? request.from : request.to;
        if (!ArgumentNumbers::parseSeconds(text, seconds) || seconds > end)
            return std::string(flag) + " needs demo seconds from 0 to " + secondsText(end) +
                   ", not " + quoted(text);
    }
    if (request.from >= request.to)
        return "--from " + secondsText(request.from) + " --to " + secondsText(request.to) +
               " is an empty range: --from must be below --to";

    if (request.output == Output::Mp4 || request.output == Output::Webm) {
        const bool mp4 = request.output == Output::Mp4;
        const int highest = mp4 ? kMp4MaxQuality : kWebmMaxQuality;
        request.quality = mp4 ? kMp4Quality : kWebmQuality;
        if (has("--quality")) {
            const std::string& text = values["--quality"];
            if (!ArgumentNumbers::parseWholeNumber(text, request.quality) ||
                request.quality > highest)
                return std::string("--quality needs a CRF from 0 (best) to ") +
                       std::to_string(highest) + " for a " + extensionOf(request.output) +
                       " file, not " + quoted(text);
        }
    }
    return "";
}

long frameCount(const Request& request) {
    const double frames = (request.to - request.from) * request.fps;
    return static_cast<long>(std::ceil(frames - 1e-6));
}

double frameTime(const Request& request, long n) {
    // A start on the frame grid is taken as its whole number of frames, and each time is one
    // division of a whole number of frames, so that a time on the grid (18 s, where the
    // metaballs begin) comes out exactly rather than an ulp early.
    double first = request.from * request.fps;
    if (std::abs(first - std::round(first)) < 1e-6)
        first = std::round(first);
    return (first + static_cast<double>(n)) / request.fps;
}

const char* usage() {
    return "usage: one-quill-wisp-capture --out FILE [--size WxH] [--fps N] [--from S] [--to T]\n"
           "                              [--quality Q]\n"
           "       one-quill-wisp-capture --out FILE.png --time T [--size WxH]\n"
           "\n"
           "Renders the demo offscreen, with no display needed, to FILE:\n"
           "  .mp4   H.264 and AAC          .webm  VP9 and Opus\n"
           "  .mkv   lossless FFV1 and FLAC .wav   the soundtrack alone\n"
           "  .png   the one frame shown at demo time T (0 <= T < 114)\n"
           "\n"
           "  --size WxH    picture size in pixels (default 1920x1080; even for .mp4 and .webm)\n"
           "  --fps N       frames a second, 1 to 240 (default 60)\n"
           "  --from S      first demo second recorded (default 0)\n"
           "  --to T        demo second the recording ends before (default 114)\n"
           "  --quality Q   constant quality CRF: .mp4 0-51 (default 18), .webm 0-63 "
           "(default 31)\n";
}

} // namespace Capture
