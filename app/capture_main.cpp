// The capture tool: renders the demo offscreen, with no display, to a video file with its
// soundtrack, to the soundtrack alone, or to one PNG frame.
//
//   one-quill-wisp-capture --out show.mp4 --size 1280x720 --fps 30
//   one-quill-wisp-capture --time 12.7 --size 640x360 --out frame.png
//
// Exit status: 0 written; 1 rendering or writing failed; 2 bad arguments (nothing created);
// 130 or 143 stopped by SIGINT or SIGTERM. No failure leaves the output file behind: it is
// written under a temporary name beside it and renamed when complete.
#include "app/Window.h"
#include "app/capture/CaptureArguments.h"
#include "app/capture/Progress.h"
#include "app/capture/Recording.h"
#include "app/capture/Snapshot.h"

#include <GL/glew.h>
#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;

volatile std::sig_atomic_t stopSignal = 0;
char temporaryForSignal[4096] = {}; // removed by a second signal, which ends the process at once

extern "C" void onStopSignal(int signal) {
    if (stopSignal != 0) {
        unlink(temporaryForSignal);
        _exit(128 + signal);
    }
    stopSignal = signal;
}

void catchStopSignals(const std::string& temporary) {
    if (temporary.size() < sizeof temporaryForSignal) // a cut-off name could be another file
        temporary.copy(temporaryForSignal, temporary.size());
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int complain(int status, const std::string& message) {
    std::fprintf(stderr, "one-quill-wisp-capture: %s\n", message.c_str());
    return status;
}

// What stops `path` being written through `temporary`, or "" when both can be created.
std::string placeProblem(const std::string& path, const std::string& temporary) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
        return path + " is a folder";
    std::FILE* probe = std::fopen(temporary.c_str(), "wb");
    if (!probe)
        return "cannot write " + path;
    std::fclose(probe);
    std::remove(temporary.c_str());
    return "";
}

struct Size {
    int width, height;
};

// The largest viewport this GL draws, read from a small probe window before the real one is made,
// so that an oversized request is refused as a bad argument rather than failing half-way.
Size viewportLimit() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        throw std::runtime_error(std::string("cannot initialise SDL: ") + SDL_GetError());
    Window probe(16, 16, false); // shuts SDL down again when it goes
    GLint dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    return Size{dims[0], dims[1]};
}

long long fileSize(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? static_cast<long long>(status.st_size) : 0;
}

} // namespace

int main(int argc, char** argv) {
    Capture::Request request;
    const std::string problem =
        Capture::parseArguments(std::vector<std::string>(argv + 1, argv + argc), request);
    if (!problem.empty())
        return complain(kUsage, problem);
    if (request.help) {
        std::fputs(Capture::usage(), stdout);
        return 0;
    }
    const std::string temporary = request.path + ".partial";
    const std::string place = placeProblem(request.path, temporary);
    if (!place.empty())
        return complain(kUsage, place);
    catchStopSignals(temporary);

    // No X server needed: SDL's offscreen driver gives a GL context through EGL.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    const auto started = std::chrono::steady_clock::now();
    Capture::RecordingReport report;
    try {
        if (request.output != Capture::Output::Wav) {
            const Size limit = viewportLimit();
            if (request.width > limit.width || request.height > limit.height)
                return complain(
                    kUsage, "--size " + std::to_string(request.width) + "x" +
                                std::to_string(request.height) + " is beyond this GL's limit of " +
                                std::to_string(limit.width) + "x" + std::to_string(limit.height));
        }
        if (request.output == Capture::Output::Png)
            Capture::writeSnapshot(request, temporary);
        else
            report = Capture::record(request, temporary, stopSignal);
        if (report.stopped || stopSignal != 0) {
            std::remove(temporary.c_str());
            const int signal = stopSignal != 0 ? stopSignal : SIGINT;
            complain(128 + signal, std::string("stopped by ") +
                                       (signal == SIGTERM ? "SIGTERM" : "SIGINT") +
                                       "; nothing written");
            return 128 + signal;
        }
        if (std::rename(temporary.c_str(), request.path.c_str()) != 0)
            throw std::runtime_error("cannot rename the finished file to " + request.path);
    } catch (const std::exception& error) {
        std::remove(temporary.c_str());
        return complain(kFailure, error.what());
    }
    if (request.output != Capture::Output::Png) {
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        const bool sound = request.output == Capture::Output::Wav;
        std::fprintf(stderr, "one-quill-wisp-capture: wrote %s: %s\n", request.path.c_str(),
                     Capture::summaryLine(report.units, sound ? "sound frames" : "frames",
                                          request.to - request.from, wall, fileSize(request.path))
                         .c_str());
    }
    return 0;
}
