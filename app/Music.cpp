// Plays the embedded module through SDL's audio device and keeps the demo clock's anchor.
#include "app/Music.h"

#include "app/DemoClock.h"
#include "app/HeardDelay.h"
#include "app/ModuleStream.h"
#include "app/OutputLatency.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace Music {
namespace {

std::unique_ptr<ModuleStream> musicModule;
bool deviceOpen = false;
std::atomic<std::int32_t> clockAnchor{DemoClock::kNotAnchored};
DemoClock::CallbackTrend callbackTrend; // the audio thread's
std::atomic<bool> silenced{false};
SDL_sem* firstCallback = nullptr; // posted by the callback that anchors the clock
std::uint32_t startTicks = 0;     // when the music last started
// Frames handed to the device since the music last started: what the clock's anchor is checked
// against. The audio thread's, but for starting and releasing while no callback runs.
std::int64_t framesPlayed = 0;
// How much later than the callbacks say the music is heard, ms, from the sound server's reports:
// smoothed on the watcher's thread, applied by the main thread without a jump.
HeardDelay heardDelay;
std::atomic<double> reportedDelayMs{0.0}; // HeardDelay's, ms; 0 while no reports come
// How late the latest callback came against its music, ms; and how often the anchor has moved
// outright, so that the reports' side starts afresh. The audio thread's, read by the reports'.
std::atomic<double> callbackLateMs{0.0};
std::atomic<unsigned> anchorMoves{0};
DelaySlew delaySlew;
// Milliseconds the picture is shown ahead of its sound, for latency that no server reports
// (--audio-delay). Main thread only.
double extraDelayMs = 0.0;
// Seconds added to the anchored tick reading; 0 unless the show started part-way. Main thread
// only.
double clockOrigin = 0.0;

// Puts the stream at module frame `frame` and starts the clock over at `origin`: it reads origin
// plus the seconds since the anchor, which the next callback sets one lead before itself, or
// without a device this call sets now.
void startAt(std::int64_t frame, double origin) {
    silenced.store(false);
    if (deviceOpen)
        SDL_LockAudio(); // the callback may be running: it sees the old stream or the new one
    if (musicModule)
        musicModule->seek(frame);
    clockOrigin = origin;
    clockAnchor.store(DemoClock::kNotAnchored);
    framesPlayed = 0;
    // A post left over from an earlier start would pass for this start's first callback.
    while (firstCallback && SDL_SemTryWait(firstCallback) == 0) {
    }
    startTicks = SDL_GetTicks();
    if (deviceOpen) {
        SDL_UnlockAudio();
        SDL_PauseAudio(0);
    } else {
        clockAnchor.store(static_cast<std::int32_t>(startTicks));
    }
}

// A report from the sound server, on its watcher's thread.
void reportLatency(double latencyMs) {
    // Before the first callback the server holds nothing of the music yet.
    if (clockAnchor.load() == DemoClock::kNotAnchored)
        return;
    static unsigned movesSeen = 0; // this thread's
    if (const unsigned moves = anchorMoves.load(); moves != movesSeen) {
        heardDelay.clear();
        movesSeen = moves;
    }
    reportedDelayMs.store(heardDelay.report(latencyMs, callbackLateMs.load()));
}

} // namespace

void loadModule(const unsigned char* data, std::uint32_t size) {
    musicModule = std::make_unique<ModuleStream>(data, size);
    if (!musicModule->isLoaded())
        std::fprintf(stderr, "one-quill-wisp: warning: cannot read the music module; "
                             "playing without sound\n");
}

void open(const unsigned char* data, std::uint32_t size) {
    loadModule(data, size);

    SDL_AudioSpec desired{};
    desired.freq = Audio::kSampleRate;
    desired.format = AUDIO_S16SYS;
    desired.channels = Audio::kChannels;
    desired.samples = Audio::kBufferFrames;
    desired.callback = fillStream;
    // No obtained spec: SDL converts our format to the device's, so the callback always
    // renders 44100 Hz signed 16-bit stereo.
    // Without thread support (a browser: the callback runs between frames on the one thread)
    // there is no semaphore, and nothing to sleep on.
    firstCallback = SDL_CreateSemaphore(0);
    deviceOpen = SDL_OpenAudio(&desired, nullptr) == 0;
    if (!deviceOpen)
        std::fprintf(stderr,
                     "one-quill-wisp: warning: cannot open the audio device: %s; "
                     "playing without sound\n",
                     SDL_GetError());
    else
        OutputLatency::start(SDL_GetCurrentAudioDriver(), reportLatency);
}

void delaySound(double ms) {
    extraDelayMs = deviceOpen ? ms : 0.0;
}

void start() {
    startAt(0, 0.0);
}

void startFrom(double from) {
    // The anchor lies one lead before the first callback, so with a device the origin is that
    // much earlier.
    startAt(moduleFrameAtDemoTime(from),
            deviceOpen ? from - DemoClock::kAnchorLeadMs / 1000.0 : from);
}

bool isAnchored() {
    return clockAnchor.load() != DemoClock::kNotAnchored;
}

bool awaitAnchor(std::uint32_t maxMs) {
    if (isAnchored() || !deviceOpen)
        return isAnchored();
    const std::uint32_t waited = SDL_GetTicks() - startTicks;
    const std::uint32_t left =
        waited < DemoClock::kFirstCallbackWaitMs ? DemoClock::kFirstCallbackWaitMs - waited : 0;
    if (firstCallback && SDL_SemWaitTimeout(firstCallback, std::min(maxMs, left)) == 0)
        return true;
    if (DemoClock::anchorOnTimeout(clockAnchor, startTicks, SDL_GetTicks()))
        std::fprintf(stderr,
                     "one-quill-wisp: warning: the audio device has not asked for sound within "
                     "%u ms; the show starts without waiting for it\n",
                     static_cast<unsigned>(DemoClock::kFirstCallbackWaitMs));
    return isAnchored();
}

double clockSeconds() {
    const std::uint32_t now = SDL_GetTicks();
    // What the sound server still holds is heard later: the picture waits for it.
    const double delayMs = delaySlew.at(now, reportedDelayMs.load()) - extraDelayMs;
    return std::max(0.0,
                    clockOrigin + DemoClock::secondsAt(now, clockAnchor.load()) - delayMs / 1000.0);
}

void silence() {
    silenced.store(true);
}

void stop() {
    OutputLatency::stop();
    if (deviceOpen)
        SDL_CloseAudio();
    deviceOpen = false;
}

void release() {
    stop();
    musicModule.reset();
    if (firstCallback)
        SDL_DestroySemaphore(firstCallback);
    firstCallback = nullptr;
    clockAnchor.store(DemoClock::kNotAnchored);
    framesPlayed = 0;
    clockOrigin = 0.0;
    heardDelay = HeardDelay();
    reportedDelayMs.store(0.0);
    callbackLateMs.store(0.0);
    delaySlew.reset();
    extraDelayMs = 0.0;
}

void fillStream(void*, std::uint8_t* stream, int length) {
    // The frames this call renders are heard one buffer after those before it: the anchor is
    // checked against the frames handed over before this call.
    const std::uint32_t ticks = SDL_GetTicks();
    const std::int32_t before = clockAnchor.load();
    if (DemoClock::anchorFromCallback(clockAnchor, callbackTrend, ticks, framesPlayed,
                                      reportedDelayMs.load()) &&
        firstCallback)
        SDL_SemPost(firstCallback);
    const std::int32_t anchor = clockAnchor.load();
    if (anchor != DemoClock::kNotAnchored) {
        if (before == DemoClock::kNotAnchored ||
            std::abs(DemoClock::msAfter(anchor, before)) > DemoClock::kTrendStepMs)
            ++anchorMoves;
        callbackLateMs.store(
            DemoClock::msAfter(DemoClock::musicAnchorAt(ticks, framesPlayed), anchor));
    }

    const long frames = length / Audio::kBytesPerFrame;
    framesPlayed += frames;
    if (silenced.load()) {
        SDL_memset(stream, 0, static_cast<size_t>(length));
        return;
    }
    if (musicModule)
        musicModule->read(reinterpret_cast<std::int16_t*>(stream), frames);
    const int written = musicModule ? static_cast<int>(frames) * Audio::kBytesPerFrame : 0;
    SDL_memset(stream + written, 0, static_cast<size_t>(length - written));
}

} // namespace Music
