// Asks a PulseAudio server (or PipeWire's pulse layer) how long the demo's sound waits there
// before it is heard: the latency of the demo's sink input, its buffer and its sink together, or
// what PipeWire lists that it holds for the stream.
//
// libpulse is loaded at run time, as SDL loads it for its own driver, so the player starts on
// systems without it. The watcher is a second client of the same server with a threaded main
// loop of its own: every 100 ms it lists the sink inputs and reports the one this process plays.
#include "app/OutputLatency.h"

#include <SDL.h>
#include <pulse/pulseaudio.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace OutputLatency {
namespace {

constexpr pa_usec_t kReportEveryUs = 100000;

// The libpulse calls the watcher makes, null where the library is missing.
struct Pulse {
    decltype(&pa_threaded_mainloop_new) mainloopNew;
    decltype(&pa_threaded_mainloop_get_api) mainloopApi;
    decltype(&pa_threaded_mainloop_start) mainloopStart;
    decltype(&pa_threaded_mainloop_stop) mainloopStop;
    decltype(&pa_threaded_mainloop_free) mainloopFree;
    decltype(&pa_threaded_mainloop_lock) lock;
    decltype(&pa_threaded_mainloop_unlock) unlock;
    decltype(&pa_context_new) contextNew;
    decltype(&pa_context_set_state_callback) setStateCallback;
    decltype(&pa_context_connect) connect;
    decltype(&pa_context_get_state) state;
    decltype(&pa_context_disconnect) disconnect;
    decltype(&pa_context_unref) contextUnref;
    decltype(&pa_context_get_sink_input_info_list) listSinkInputs;
    decltype(&pa_context_rttime_new) timerNew;
    decltype(&pa_context_rttime_restart) timerRestart;
    decltype(&pa_operation_unref) operationUnref;
    decltype(&pa_proplist_gets) propertyOf;
    decltype(&pa_rtclock_now) now;
    decltype(&pa_bytes_to_usec) bytesToUsec;
};

Pulse pulse{};
pa_threaded_mainloop* mainloop = nullptr;
pa_context* context = nullptr;
Report reportTo = nullptr;
std::string processId; // as the server lists it in a stream's "application.process.id"

template <typename Function> bool load(void* library, Function& function, const char* name) {
    function = reinterpret_cast<Function>(SDL_LoadFunction(library, name));
    return function != nullptr;
}

bool loadPulse() {
    static void* library = SDL_LoadObject("libpulse.so.0");
    if (!library)
        return false;
    static const bool loaded =
        load(library, pulse.mainloopNew, "pa_threaded_mainloop_new") &&
        load(library, pulse.mainloopApi, "pa_threaded_mainloop_get_api") &&
        load(library, pulse.mainloopStart, "pa_threaded_mainloop_start") &&
        load(library, pulse.mainloopStop, "pa_threaded_mainloop_stop") &&
        load(library, pulse.mainloopFree, "pa_threaded_mainloop_free") &&
        load(library, pulse.lock, "pa_threaded_mainloop_lock") &&
        load(library, pulse.unlock, "pa_threaded_mainloop_unlock") &&
        load(library, pulse.contextNew, "pa_context_new") &&
        load(library, pulse.setStateCallback, "pa_context_set_state_callback") &&
        load(library, pulse.connect, "pa_context_connect") &&
        load(library, pulse.state, "pa_context_get_state") &&
        load(library, pulse.disconnect, "pa_context_disconnect") &&
        load(library, pulse.contextUnref, "pa_context_unref") &&
        load(library, pulse.listSinkInputs, "pa_context_get_sink_input_info_list") &&
        load(library, pulse.timerNew, "pa_context_rttime_new") &&
        load(library, pulse.timerRestart, "pa_context_rttime_restart") &&
        load(library, pulse.operationUnref, "pa_operation_unref") &&
        load(library, pulse.propertyOf, "pa_proplist_gets") &&
        load(library, pulse.now, "pa_rtclock_now") &&
        load(library, pulse.bytesToUsec, "pa_bytes_to_usec");
    return loaded;
}

// PipeWire's pulse layer reports no latency for a stream, but lists what it holds for it: a
// queue of "pulse.attr.tlength" bytes, and the graph's period, which it asks for as
// "node.latency" (FRAMES/RATE) and the graph rounds down to a power of two. Milliseconds; 0 where
// the stream lists neither.
double pipeWireLatencyMs(const pa_sink_input_info& info) {
    const char* queue = pulse.propertyOf(info.proplist, "pulse.attr.tlength");
    const char* period = pulse.propertyOf(info.proplist, "node.latency");
    if (!queue || !period)
        return 0.0;
    const double queueMs = static_cast<double>(pulse.bytesToUsec(std::strtoull(queue, nullptr, 10),
                                                                 &info.sample_spec)) /
                           1000.0;
    unsigned frames = 0, rate = 0;
    if (std::sscanf(period, "%u/%u", &frames, &rate) != 2 || frames == 0 || rate == 0)
        return queueMs;
    unsigned quantum = 1;
    while (quantum <= frames / 2)
        quantum *= 2;
    return queueMs + 1000.0 * quantum / rate;
}

// One entry of the sink-input list; the end of the list comes as eol > 0.
void onSinkInput(pa_context*, const pa_sink_input_info* info, int eol, void*) {
    if (eol != 0 || !info || info->corked)
        return;
    const char* owner = pulse.propertyOf(info->proplist, PA_PROP_APPLICATION_PROCESS_ID);
    if (!owner || processId != owner)
        return;
    const pa_usec_t reported = info->buffer_usec + info->sink_usec;
    const double latencyMs =
        reported > 0 ? static_cast<double>(reported) / 1000.0 : pipeWireLatencyMs(*info);
    if (latencyMs > 0.0)
        reportTo(latencyMs);
}

void onTimer(pa_mainloop_api*, pa_time_event* timer, const struct timeval*, void*) {
    if (pulse.state(context) != PA_CONTEXT_READY)
        return; // the server went away: no more reports
    if (pa_operation* listing = pulse.listSinkInputs(context, onSinkInput, nullptr))
        pulse.operationUnref(listing);
    pulse.timerRestart(context, timer, pulse.now() + kReportEveryUs);
}

void onState(pa_context* changed, void*) {
    if (pulse.state(changed) == PA_CONTEXT_READY)
        pulse.timerNew(changed, pulse.now() + kReportEveryUs, onTimer, nullptr);
}

} // namespace

bool start(const char* audioDriver, Report report) {
    if (mainloop || !audioDriver || std::strcmp(audioDriver, "pulseaudio") != 0 || !loadPulse())
        return false;
    processId = std::to_string(static_cast<long>(getpid()));
    reportTo = report;
    mainloop = pulse.mainloopNew();
    if (!mainloop)
        return false;
    context = pulse.contextNew(pulse.mainloopApi(mainloop), "One Quill Wisp latency");
    if (!context) {
        stop();
        return false;
    }
    pulse.setStateCallback(context, onState, nullptr);
    if (pulse.connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        pulse.mainloopStart(mainloop) < 0) {
        stop();
        return false;
    }
    return true;
}

void stop() {
    if (!mainloop)
        return;
    // Stopping the loop joins its thread: no callback runs after this.
    pulse.mainloopStop(mainloop);
    if (context) {
        pulse.disconnect(context);
        pulse.contextUnref(context);
        context = nullptr;
    }
    pulse.mainloopFree(mainloop);
    mainloop = nullptr;
}

} // namespace OutputLatency
