// Screenshots a window the moment the demo's audio device takes its next buffer, so that what the
// window shows can be set against where the sound is. Watches the recording of SDL's disk driver,
// grabs the window as soon as the recording grows, and prints the recording's size then (bytes)
// and the seconds from seeing it grow to having the picture. A grab during which the recording
// grows again is given up for the next buffer.
//   shot_after_buffer WINDOW_ID RECORDING OUT.ppm   ->   "<bytes> <seconds>"
#include "XImagePpm.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kGiveUp = std::chrono::seconds(10); // for a recording that stops growing

long sizeOf(const char* path) {
    struct stat status {};
    return stat(path, &status) == 0 ? static_cast<long>(status.st_size) : -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: shot_after_buffer WINDOW_ID RECORDING OUT.ppm\n");
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const char* recording = argv[2];
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "shot_after_buffer: cannot open the X display\n");
        return 1;
    }
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes)) {
        std::fprintf(stderr, "shot_after_buffer: no window %s\n", argv[1]);
        return 1;
    }
    const auto deadline = Clock::now() + kGiveUp;
    while (Clock::now() < deadline) {
        const long before = sizeOf(recording);
        long grown = before;
        while (grown == before && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            grown = sizeOf(recording);
        }
        const auto seen = Clock::now();
        XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
        const auto grabbed = Clock::now();
        if (!image) {
            std::fprintf(stderr, "shot_after_buffer: cannot read window %s\n", argv[1]);
            return 1;
        }
        const bool still = sizeOf(recording) == grown;
        const bool written = still && writePpm(image, argv[3]);
        XDestroyImage(image);
        if (!still || grown == before)
            continue;
        if (!written) {
            std::fprintf(stderr, "shot_after_buffer: cannot write %s\n", argv[3]);
            return 1;
        }
        std::printf("%ld %.4f\n", grown, std::chrono::duration<double>(grabbed - seen).count());
        XCloseDisplay(display);
        return 0;
    }
    std::fprintf(stderr, "shot_after_buffer: %s did not grow within %lld s\n", recording,
                 static_cast<long long>(kGiveUp.count()));
    return 1;
}
