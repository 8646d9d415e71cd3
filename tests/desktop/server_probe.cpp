// Sets what a sound server plays against what the demo's window shows. Three modes:
//
//   server_probe record SOURCE OUT.raw SHOT_PREFIX FIRST SPACING COUNT LENGTH
//     Records SOURCE (a sink's monitor) of the PulseAudio server the environment names into
//     OUT.raw (44100 Hz signed 16-bit stereo) and prints "recording" once connected. Counted from
//     the first sound it records, at FIRST, FIRST + SPACING, ... seconds (COUNT shots), it
//     screenshots the window titled "One Quill Wisp" the moment it next shows a new frame, into
//     SHOT_PREFIXn.ppm; it stops LENGTH seconds after the first sound. Then prints one line per
//     shot, "shot FILE HEARD LATENCY AGE", HEARD being the recording's frame that was heard
//     the moment the frame appeared: the frames read so far, corrected by the latency the server
//     reports for the recording stream (the median over the readings within a second of the shot,
//     as the reports scatter), then the median of that latency (ms), then AGE: how long before it
//     appeared the window's previous frame did (ms), which bounds how old the clock reading it
//     shows is. Then one line per moment a processor stood still (StallWatch), "stall FROM TO",
//     the recording's frames heard as it began and ended.
//   server_probe match RECORDING FROM [SHOTS]
//     Checks that the recording, from its first sound to its end, is DUMB's render of the module
//     without a gap, for a demo started with --from FROM (music from module frame
//     round(FROM * 44100) - 8192). Prints "offset R D" from the first sound on and again after
//     each gap or jump: from recording frame R on, a recording frame plus D is the module frame.
//     A fault from 0.3 s before a stall in the SHOTS file (record's output) to 0.5 s after it,
//     after which the music goes on or the recording ends within 2 s, is the machine's: it is
//     named, and fails nothing.
//   server_probe shown SHOT.ppm FROM FPS   (capture-tool frames as raw RGB24 on stdin)
//     Finds the frame nearest the screenshot by RMSE among frames that show demo time
//     FROM + n / FPS; prints "TIME RMSE INDEX FRAMES" (RMSE 0 same, 1 opposite).
//
// Exit status 0 on success, 1 on a failed check or a lost server or window, 2 on bad usage.
#include "app/ModuleStream.h"
#include "content/Resources.h"
#include "tests/e2e/XImagePpm.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <pulse/pulseaudio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <pthread.h>
#include <sched.h>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kRate = Audio::kSampleRate;
constexpr const char* kTitle = "One Quill Wisp";

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int fail(const std::string& message) {
    std::fprintf(stderr, "server_probe: %s\n", message.c_str());
    return 1;
}

// ---- The window ----

int xError = 0;
int onXError(Display*, XErrorEvent* event) {
    xError = event->error_code;
    return 0;
}

Window findWindow(Display* display, Window under) {
    char* name = nullptr;
    if (XFetchName(display, under, &name) && name) {
        const bool match = std::strcmp(name, kTitle) == 0;
        XFree(name);
        if (match)
            return under;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, under, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i)
            found = findWindow(display, children[i]);
        if (children)
            XFree(children);
    }
    return found;
}

// A screenshot as the X server gives it, and the steady-clock instant (s) halfway through
// taking it.
struct Shot {
    struct Destroy {
        void operator()(XImage* image) const { XDestroyImage(image); }
    };
    std::unique_ptr<XImage, Destroy> image;
    double at = 0;

    // Whether the two show the same pixels.
    bool same(const Shot& other) const {
        const auto bytes = [](const XImage& i) {
            return static_cast<size_t>(i.bytes_per_line) * static_cast<size_t>(i.height);
        };
        return image->width == other.image->width && image->height == other.image->height &&
               bytes(*image) == bytes(*other.image) &&
               std::memcmp(image->data, other.image->data, bytes(*image)) == 0;
    }
};

bool grab(Display* display, Window window, Clock::time_point start, Shot& out) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    const double before = secondsSince(start);
    XImage* image =
        XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    const double after = secondsSince(start);
    if (!image)
        return false;
    out.image.reset(image);
    out.at = (before + after) / 2;
    return true;
}

// ---- Stalls of the machine ----

// Watches for moments when a processor stood still. A virtual machine whose host withholds its
// processors stops every thread on them, the sound server's too, for up to the host's
// scheduling period (100 ms): no client can keep a stream filled across that. On each processor a
// watcher sleeps 2 ms at a time at a real-time priority, which only the kernel and other
// real-time threads can delay; waking 20 ms late, it has seen a stall. A thread at a plain
// priority also waits for busy neighbours, so without a real-time priority nothing is reported.
class StallWatch {
public:
    struct Stall {
        double from, to; // seconds since the start
    };

    explicit StallWatch(Clock::time_point start) : start(start) {
        cpu_set_t cpus;
        CPU_ZERO(&cpus);
        sched_getaffinity(0, sizeof cpus, &cpus);
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
            if (CPU_ISSET(cpu, &cpus)) {
                Watcher& watcher = *watchers.emplace_back(std::make_unique<Watcher>(cpu));
                watcher.thread = std::thread([this, &watcher] { watch(watcher); });
            }
    }
    ~StallWatch() { finish(); }

    // Stops watching; the stalls seen on any processor, in order of their start. Whether every
    // watcher ran at a real-time priority is in `realtime`.
    std::vector<Stall> finish() {
        stop = true;
        std::vector<Stall> all;
        realtime = !watchers.empty();
        for (auto& watcher : watchers) {
            if (watcher->thread.joinable())
                watcher->thread.join();
            all.insert(all.end(), watcher->stalls.begin(), watcher->stalls.end());
            realtime = realtime && watcher->realtime;
        }
        std::sort(all.begin(), all.end(), [](auto& a, auto& b) { return a.from < b.from; });
        return all;
    }
    bool realtime = false; // set by finish()

private:
    struct Watcher {
        explicit Watcher(int cpu) : cpu(cpu) {}
        int cpu;
        bool realtime = false;
        std::vector<Stall> stalls;
        std::thread thread;
    };

    void watch(Watcher& watcher) {
        cpu_set_t only;
        CPU_ZERO(&only);
        CPU_SET(watcher.cpu, &only);
        const sched_param priority{50};
        watcher.realtime = pthread_setaffinity_np(pthread_self(), sizeof only, &only) == 0 &&
                           pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority) == 0;
        constexpr double kSleep = 0.002, kStall = 0.020;
        while (watcher.realtime && !stop) {
            const double before = secondsSince(start);
            std::this_thread::sleep_for(std::chrono::duration<double>(kSleep));
            const double after = secondsSince(start);
            if (after - before > kSleep + kStall)
                watcher.stalls.push_back({before + kSleep, after});
        }
    }

    Clock::time_point start;
    std::atomic<bool> stop{false};
    std::vector<std::unique_ptr<Watcher>> watchers; // each one's own until finish()
};

// ---- The recording ----

struct Reading {
    double at;    // steady-clock seconds
    double heard; // recording frame heard then
    double read;  // recording frames read by then
};

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The recording's frame heard at `at` (steady-clock seconds), and the recording's latency then
// (ms): the medians over the readings within a second of it, as the reports scatter. False
// without a reading that near.
bool heardAt(const std::vector<Reading>& readings, double at, double& frame, double& latencyMs) {
    std::vector<double> offsets, latencies;
    for (const Reading& r : readings)
        if (std::fabs(r.at - at) <= 1) {
            offsets.push_back(r.heard - r.at * kRate);
            latencies.push_back((r.heard - r.read) / kRate * 1000);
        }
    if (offsets.empty())
        return false;
    frame = at * kRate + median(offsets);
    latencyMs = median(latencies);
    return true;
}

class Recorder {
public:
    ~Recorder() {
        if (loop)
            pa_threaded_mainloop_stop(loop);
        if (stream)
            pa_stream_unref(stream);
        if (context) {
            pa_context_disconnect(context);
            pa_context_unref(context);
        }
        if (loop)
            pa_threaded_mainloop_free(loop);
    }

    // Connects to the server and starts recording `source`; false with a message on failure.
    bool open(const char* source, std::string& error) {
        loop = pa_threaded_mainloop_new();
        context = pa_context_new(pa_threaded_mainloop_get_api(loop), "server_probe");
        pa_context_set_state_callback(context, &Recorder::signal, loop);
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
            pa_threaded_mainloop_start(loop) < 0) {
            error = "cannot connect to the sound server";
            return false;
        }
        pa_threaded_mainloop_lock(loop);
        pa_context_state_t state;
        while ((state = pa_context_get_state(context)) != PA_CONTEXT_READY &&
               PA_CONTEXT_IS_GOOD(state))
            pa_threaded_mainloop_wait(loop);
        if (state != PA_CONTEXT_READY) {
            pa_threaded_mainloop_unlock(loop);
            error = std::string("cannot connect to the sound server: ") +
                    pa_strerror(pa_context_errno(context));
            return false;
        }
        const pa_sample_spec spec{PA_SAMPLE_S16LE, Audio::kSampleRate, Audio::kChannels};
        stream = pa_stream_new(context, "monitor", &spec, nullptr);
        pa_stream_set_state_callback(stream, &Recorder::signal, loop);
        // Fragments of 100 ms, longer than a PipeWire graph's cycle: the recording then lowers
        // no latency under the player's stream (PulseAudio leaves the source's latency alone
        // without PA_STREAM_ADJUST_LATENCY), yet its frames arrive promptly.
        pa_buffer_attr attributes{};
        attributes.maxlength = static_cast<std::uint32_t>(-1);
        attributes.fragsize = Audio::kSampleRate / 10 * Audio::kBytesPerFrame;
        const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_INTERPOLATE_TIMING |
                                                          PA_STREAM_AUTO_TIMING_UPDATE);
        pa_stream_connect_record(stream, source, &attributes, flags);
        pa_stream_state_t streamState;
        while ((streamState = pa_stream_get_state(stream)) != PA_STREAM_READY &&
               PA_STREAM_IS_GOOD(streamState))
            pa_threaded_mainloop_wait(loop);
        pa_threaded_mainloop_unlock(loop);
        if (streamState != PA_STREAM_READY) {
            error = std::string("cannot record ") + source + ": " +
                    pa_strerror(pa_context_errno(context));
            return false;
        }
        return true;
    }

    // Takes what has arrived into `out`, and reads the frame heard now; false when the server
    // is gone. `heard` is left negative while the server has no timing for the stream yet.
    bool take(std::vector<std::int16_t>& out, double& heard) {
        pa_threaded_mainloop_lock(loop);
        bool good = PA_STREAM_IS_GOOD(pa_stream_get_state(stream));
        while (good && pa_stream_readable_size(stream) > 0) {
            const void* data = nullptr;
            size_t bytes = 0;
            if (pa_stream_peek(stream, &data, &bytes) < 0) {
                good = false;
                break;
            }
            if (bytes == 0)
                break;
            const size_t samples = bytes / sizeof(std::int16_t);
            if (data)
                out.insert(out.end(), static_cast<const std::int16_t*>(data),
                           static_cast<const std::int16_t*>(data) + samples);
            else
                out.insert(out.end(), samples, 0); // a hole: nothing was captured there
            pa_stream_drop(stream);
        }
        pa_usec_t latency = 0;
        int negative = 0;
        heard = -1;
        const long frames = static_cast<long>(out.size()) / Audio::kChannels;
        if (good && pa_stream_get_latency(stream, &latency, &negative) == 0) {
            // The latency of a recording: how long ago the newest frame read was heard; negative
            // when the monitor delivers frames before the sink plays them.
            const double seconds = (negative ? -1.0 : 1.0) * static_cast<double>(latency) / 1e6;
            heard = frames + seconds * kRate;
        }
        pa_threaded_mainloop_unlock(loop);
        return good;
    }

private:
    static void signal(pa_context*, void* loop) {
        pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
    }
    static void signal(pa_stream*, void* loop) {
        pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
    }

    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
};

int record(char** argv) {
    const char* source = argv[2];
    const std::string out = argv[3], prefix = argv[4];
    const double first = std::atof(argv[5]), spacing = std::atof(argv[6]);
    const int count = std::atoi(argv[7]);
    const double length = std::atof(argv[8]);
    constexpr double kGiveUp = 180; // seconds, for a player that never sounds

    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return fail("cannot open the X display");
    XSetErrorHandler(onXError);
    Recorder recorder;
    std::string error;
    if (!recorder.open(source, error))
        return fail(error);
    std::printf("recording\n");
    std::fflush(stdout);

    const auto start = Clock::now();
    std::vector<std::int16_t> samples;
    std::vector<Reading> readings;
    std::vector<double> shotTimes, shotAges; // s
    StallWatch stallWatch(start);
    long firstSound = -1; // recording frame
    Window window = 0;
    for (;;) {
        double heard = -1;
        if (!recorder.take(samples, heard))
            return fail("the sound server went away");
        const double now = secondsSince(start);
        if (heard >= 0)
            readings.push_back({now, heard, static_cast<double>(samples.size() / 2)});
        if (firstSound < 0) {
            const auto it =
                std::find_if(samples.begin(), samples.end(), [](std::int16_t s) { return s != 0; });
            if (it != samples.end())
                firstSound = static_cast<long>(it - samples.begin()) / Audio::kChannels;
            else if (now > kGiveUp)
                return fail("no sound within 180 s");
        }
        const double played = firstSound < 0 || heard < 0 ? -1 : (heard - firstSound) / kRate;
        const int shot = static_cast<int>(shotTimes.size());
        if (shot < count && played >= first + shot * spacing) {
            if (!window)
                window = findWindow(display, DefaultRootWindow(display));
            // Waits up to a second, twice, for the window to show a new frame: the second one's
            // instant is then known to within one grab, and the instant of the one before bounds
            // how old its clock reading is. A window that shows no change is taken as it is.
            Shot before, after;
            if (!window || !grab(display, window, start, before))
                return fail("no window titled '" + std::string(kTitle) + "' to screenshot");
            std::vector<double> changes;
            double deadline = before.at + 1;
            while (changes.size() < 2 && secondsSince(start) < deadline) {
                // A pause between grabs leaves the player and the X server the processors.
                std::this_thread::sleep_for(std::chrono::milliseconds(4));
                if (!grab(display, window, start, after))
                    return fail("the window went away");
                if (!after.same(before)) {
                    changes.push_back((before.at + after.at) / 2);
                    deadline = after.at + 1;
                }
                std::swap(before, after);
            }
            if (!writePpm(before.image.get(), (prefix + std::to_string(shot) + ".ppm").c_str()))
                return fail("cannot write the screenshot");
            shotTimes.push_back(changes.empty() ? before.at : changes.back());
            // A picture drawn less than once a second may show any clock reading of that second.
            shotAges.push_back(changes.size() == 2 ? changes[1] - changes[0] : 1.0);
        } else if (shot == count && played >= length) {
            break;
        }
        if (now > kGiveUp + length)
            return fail("the recording did not reach its length");
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    std::ofstream file(out, std::ios::binary);
    file.write(reinterpret_cast<const char*>(samples.data()),
               static_cast<std::streamsize>(samples.size() * sizeof(std::int16_t)));
    if (!file.flush())
        return fail("cannot write " + out);
    // Each reading says where the recording stood against the steady clock: carried to a shot's
    // instant, or a stall's, they give the frame heard then.
    const std::vector<StallWatch::Stall> stalls = stallWatch.finish();
    double heard = 0, latency = 0;
    for (size_t i = 0; i < shotTimes.size(); ++i) {
        if (!heardAt(readings, shotTimes[i], heard, latency))
            return fail("no latency readings near shot " + std::to_string(i));
        std::printf("shot %s%zu.ppm %.1f %.1f %.0f\n", prefix.c_str(), i, heard, latency,
                    shotAges[i] * 1000);
    }
    if (!stallWatch.realtime)
        std::printf("no real-time priority: the machine's stalls are not watched\n");
    double to = 0;
    for (const StallWatch::Stall& stall : stalls)
        if (heardAt(readings, stall.from, heard, latency) &&
            heardAt(readings, stall.to, to, latency))
            std::printf("stall %.0f %.0f\n", heard, to);
    return 0;
}

// ---- The recording against the module ----

bool silentFrame(const std::int16_t* frame) {
    return frame[0] == 0 && frame[1] == 0;
}

int match(char** argv) {
    std::ifstream file(argv[2], std::ios::binary);
    if (!file)
        return fail(std::string("cannot read ") + argv[2]);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    std::vector<std::int16_t> rec(bytes.size() / sizeof(std::int16_t));
    std::memcpy(rec.data(), bytes.data(), rec.size() * sizeof(std::int16_t));
    const long frames = static_cast<long>(rec.size()) / Audio::kChannels;
    long r = 0;
    while (r < frames && silentFrame(&rec[r * Audio::kChannels]))
        ++r;
    if (r == frames) {
        std::printf("the recording (%ld frames) is silent\n", frames);
        return 1;
    }

    // The module from the run's first frame, as far as the recording and a margin reach;
    // module[k] is module frame start + k.
    constexpr long kSearch = 2 * Audio::kSampleRate; // how far a jump of the music is looked for
    const std::int64_t start = std::llround(std::atof(argv[3]) * kRate) - Audio::kLeadFrames;
    const long length = frames + 2 * kSearch;
    std::vector<std::int16_t> module(static_cast<size_t>(length) * Audio::kChannels);
    ModuleStream stream(moduleData, moduleSize);
    stream.seek(start);
    stream.read(module.data(), length);
    const auto same = [&](long at, long k, long count) { // recording from `at`, module from k
        return k >= 0 && k + count <= length &&
               std::memcmp(&rec[at * Audio::kChannels], &module[k * Audio::kChannels],
                           static_cast<size_t>(count) * Audio::kBytesPerFrame) == 0;
    };
    // Where the music goes on within 2 s of `center`, from recording frame `at`; -1 if not.
    const auto near = [&](long at, long center) {
        const long probe = std::min(256L, frames - at);
        for (long d = 0; d <= kSearch; ++d)
            for (const long candidate : {center + d, center - d})
                if (same(at, candidate, probe))
                    return candidate;
        return -1L;
    };
    long k = 0;
    while (k < length && silentFrame(&module[k * Audio::kChannels]))
        ++k;
    std::printf("the first sound, recording frame %ld, is module frame %lld\n", r,
                static_cast<long long>(start + k));
    // The stalls of the processors that record saw, as spans of recording frames. A fault from
    // 0.3 s before one to 0.5 s after it is the machine's: the recording's frame heard at an
    // instant is known to within the scatter of the server's latency reports, and an underrun's
    // silence reaches the recording up to a server's buffer after the stall.
    std::vector<std::pair<double, double>> stalls;
    if (argv[4]) {
        std::ifstream shots(argv[4]);
        if (!shots)
            return fail(std::string("cannot read ") + argv[4]);
        std::string word;
        double from = 0, to = 0;
        for (std::string line; std::getline(shots, line);)
            if (std::istringstream(line) >> word >> from >> to && word == "stall")
                stalls.emplace_back(from, to);
    }

    // Follows the recording through the module. Where it departs, what follows is looked for
    // within 2 s of where the music was (after any silence), so that the offsets hold on and
    // each fault is named: a gap of silence, a jump of the music, or sound not the module's.
    const long first = r;
    int faults = 0, stalled = 0;
    std::printf("offset %ld %lld\n", r, static_cast<long long>(start + k - r));
    while (r < frames) {
        if (same(r, k, 1)) {
            ++r, ++k;
            continue;
        }
        long resume = r;
        while (resume < frames && silentFrame(&rec[resume * Audio::kChannels]))
            ++resume;
        long found = resume < frames ? near(resume, k) : -1;
        // Sound that is not the module's (a server has played a period with one channel
        // silent): the music is looked for again after it, up to 2 s on.
        long garbled = resume;
        for (long at = resume + 512; found < 0 && at + 256 <= frames && at - resume <= kSearch;
             at += 512)
            if ((found = near(at, k + (at - resume))) >= 0)
                garbled = at;
        while (found > 0 && garbled > resume && same(garbled - 1, found - 1, 1))
            --garbled, --found;
        // The nearest stall of a processor, in recording frames from this fault (positive: the
        // stall came later). The music going on elsewhere after it is the machine's, and so is a
        // recording that ends before the music had its 2 s to go on; the music not going on
        // within 2 s is always the player's fault.
        const bool cutShort = found < 0 && frames - r < kSearch;
        const auto stall = std::min_element(stalls.begin(), stalls.end(), [&](auto& a, auto& b) {
            return std::abs(a.first - r) < std::abs(b.first - r);
        });
        const bool machine = (found >= 0 || cutShort) && stall != stalls.end() &&
                             stall->first - 0.3 * kRate <= r && r <= stall->second + 0.5 * kRate;
        ++(machine ? stalled : faults);
        std::printf("at %.3f s from the first sound", (r - first) / kRate);
        if (stall != stalls.end())
            std::printf(" (a processor stood still %.0f ms, %+.2f s from it)",
                        (stall->second - stall->first) * 1000 / kRate, (stall->first - r) / kRate);
        std::printf(": %.1f ms of silence, then ", (resume - r) * 1000 / kRate);
        if (resume == frames) {
            std::printf("the end of the recording\n");
            break;
        }
        if (found < 0) {
            std::printf("sound that is not the module's %s\n",
                        cutShort ? "to the end of the recording" : "within 2 s");
            break;
        }
        if (garbled > resume)
            std::printf("%.1f ms of sound that is not the module's, then ",
                        (garbled - resume) * 1000 / kRate);
        if (found == k)
            std::printf("the music goes on where it was\n");
        else
            std::printf("the music goes on %.1f ms %s where it was\n",
                        std::abs(found - k) * 1000 / kRate, found > k ? "ahead of" : "behind");
        r = garbled;
        k = found;
        std::printf("offset %ld %lld\n", r, static_cast<long long>(start + k - r));
    }
    std::printf(
        "%.2f s of sound from the first, %d faults, and %d more as a processor stood still\n",
        (frames - first) / kRate, faults, stalled);
    return faults == 0 ? 0 : 1;
}

// ---- The moment a screenshot shows ----

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

bool readPpm(const char* path, Picture& out) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    int top = 0;
    const bool header = std::fscanf(file, "P6 %d %d %d", &out.width, &out.height, &top) == 3 &&
                        top == 255 && std::fgetc(file) != EOF;
    out.rgb.resize(header ? static_cast<size_t>(out.width) * out.height * 3 : 0);
    const bool read =
        header && std::fread(out.rgb.data(), 1, out.rgb.size(), file) == out.rgb.size();
    std::fclose(file);
    return read;
}

int shown(char** argv) {
    Picture shot;
    if (!readPpm(argv[2], shot))
        return fail(std::string("cannot read the screenshot ") + argv[2]);
    const double from = std::atof(argv[3]), fps = std::atof(argv[4]);
    std::vector<unsigned char> frame(shot.rgb.size());
    long index = 0, best = -1;
    double bestRmse = 2;
    while (std::fread(frame.data(), 1, frame.size(), stdin) == frame.size()) {
        double sum = 0;
        for (size_t i = 0; i < frame.size(); ++i) {
            const double d = static_cast<double>(frame[i]) - shot.rgb[i];
            sum += d * d;
        }
        const double rmse = std::sqrt(sum / static_cast<double>(frame.size())) / 255;
        if (rmse < bestRmse) {
            bestRmse = rmse;
            best = index;
        }
        ++index;
    }
    if (best < 0)
        return fail("no capture frames of the screenshot's size on stdin");
    std::printf("%.4f %.5f %ld %ld\n", from + best / fps, bestRmse, best, index);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "record" && argc == 9)
        return record(argv);
    if (mode == "match" && (argc == 4 || argc == 5))
        return match(argv);
    if (mode == "shown" && argc == 5)
        return shown(argv);
    std::fprintf(stderr, "usage: server_probe record SOURCE OUT.raw SHOT_PREFIX FIRST SPACING "
                         "COUNT LENGTH\n"
                         "       server_probe match RECORDING FROM [SHOTS]\n"
                         "       server_probe shown SHOT.ppm FROM FPS < frames.rgb\n");
    return 2;
}
