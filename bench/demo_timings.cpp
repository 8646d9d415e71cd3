// Start-up, the cut and quitting of the real demo executable, measured from outside.
//   demo_timings DEMO PROBE [RUNS]     (under an X display of the size to measure, e.g.
//                                       xvfb-run -a -s "-screen 0 320x180x24")
// Plays the demo fullscreen with SDL's dummy audio driver and bench/frame_probe preloaded, which
// stamps the context's creation, every buffer swap and the window leaving the screen. About 25 s
// in, presses and releases Escape through XTest. Prints for each run, in milliseconds:
//   start-up: context made to the first swap returned, and the first audio callback (which
//   starts the clock) to that swap;
//   the cut: the longest frame (swap to swap) from 17 to 19 s of demo time, and the median frame
//   from 19 to 25 s; demo time is taken from the first audio callback, at which the clock reads
//   one device buffer (its anchor lies that much earlier);
//   quitting: Escape's release to the demo seeing it, to the window off the screen, and to the
//   process's exit.
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

// libXtst's one entry point used here; its headers are not needed for it.
extern "C" int XTestFakeKeyEvent(Display* display, unsigned int keycode, Bool isPress,
                                 unsigned long delay);

namespace {

constexpr double kEscapeAfter = 25.0;           // demo time, seconds
constexpr double kClockAtCallback = 0.18575964; // demo time at the first audio callback, seconds

double nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct Stamps {
    double context = -1, callback = -1, gone = -1, escape = -1;
    std::vector<double> swaps;
};

Stamps readStamps(const std::string& path) {
    Stamps stamps;
    std::ifstream in(path);
    std::string what;
    long long ns = 0;
    while (in >> what >> ns) {
        const double ms = ns / 1e6;
        if (what == "context")
            stamps.context = ms;
        else if (what == "swap")
            stamps.swaps.push_back(ms);
        else if (what == "gone")
            stamps.gone = ms;
        else if (what == "escape")
            stamps.escape = ms;
        else if (what == "callback")
            stamps.callback = ms;
    }
    return stamps;
}

double median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Presses and releases Escape; returns the time the release reached the X server.
double pressEscape(Display* display) {
    const unsigned int escape = XKeysymToKeycode(display, XStringToKeysym("Escape"));
    XTestFakeKeyEvent(display, escape, True, 0);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    XTestFakeKeyEvent(display, escape, False, 0);
    XSync(display, False);
    return nowMs();
}

bool run(const char* demo, const char* probe, Display* display) {
    const std::string out = "/tmp/demo_timings." + std::to_string(getpid()) + ".txt";
    std::remove(out.c_str());
    const pid_t child = fork();
    if (child == 0) {
        setenv("LD_PRELOAD", probe, 1);
        setenv("WISP_PROBE_OUT", out.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execl(demo, demo, static_cast<char*>(nullptr));
        std::perror(demo);
        _exit(127);
    }
    // Wait for the first frame and the first callback, then until demo time passes 25 s.
    Stamps stamps;
    for (int i = 0; i < 600 && (stamps.swaps.empty() || stamps.callback < 0); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stamps = readStamps(out);
    }
    if (stamps.swaps.empty() || stamps.callback < 0) {
        std::fprintf(stderr, "demo_timings: the demo drew no frame or played no sound\n");
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        return false;
    }
    const double first = stamps.swaps.front();
    const double clockZero = stamps.callback - kClockAtCallback * 1e3;
    while (nowMs() < clockZero + kEscapeAfter * 1e3)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double released = pressEscape(display);
    int status = 0;
    waitpid(child, &status, 0);
    const double exited = nowMs();
    stamps = readStamps(out);
    std::remove(out.c_str());

    double cut = 0;
    std::vector<double> after;
    for (size_t i = 1; i < stamps.swaps.size(); ++i) {
        const double t = (stamps.swaps[i] - clockZero) / 1e3;
        const double frame = stamps.swaps[i] - stamps.swaps[i - 1];
        if (t >= 17.0 && t <= 19.0)
            cut = std::max(cut, frame);
        else if (t > 19.0 && t <= kEscapeAfter)
            after.push_back(frame);
    }
    std::printf("| %8.1f | %8.1f | %8.1f | %8.1f | %8.1f | %8.1f | %8.1f | %d |\n",
                first - stamps.context, first - stamps.callback, cut, median(after),
                stamps.escape - released, stamps.gone - released, exited - released,
                WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: demo_timings DEMO PROBE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "demo_timings: cannot open the X display\n");
        return 1;
    }
    std::printf("| context to first frame | first callback to first frame | cut frame (17-19 s) | "
                "median frame (19-25 s) | "
                "release to event seen | release to window gone | release to exit | status |\n"
                "|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (int i = 0; i < runs; ++i)
        if (!run(argv[1], argv[2], display))
            return 1;
    XCloseDisplay(display);
    return 0;
}
