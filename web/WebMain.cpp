// The browser's entry: runs the Demo from the page's animation frames, sized to the canvas.
//
// The page (page.html) owns what only a browser has: the start and end screens, the query
// string, and the clock of what is heard. This file asks it through the small functions below.
#define SDL_MAIN_HANDLED
#include "app/Demo.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>

namespace {

constexpr const char* kCanvas = "#canvas";

// The demo time the page's `?t=` asks to hold, in seconds; NaN when the page plays live.
EM_JS(double, pageFrozenTime, (), { return wispPage.frozenTime(); });
// Demo clock of what is heard now, in seconds (see wispPage.clock in page.html).
EM_JS(double, pageHeardTime, (), { return wispPage.clock.seconds(); });
// Attaches the page's clock to the audio device SDL just started.
EM_JS(void, pageMusicStarted, (), { wispPage.clock.attach(Module.SDL2); });
EM_JS(void, pageShowFrame, (double seconds), { wispPage.frameDrawn(seconds); });
EM_JS(void, pageShowEnd, (), { wispPage.showEnd(); });
EM_JS(void, pageShowError, (const char* message), { wispPage.showError(UTF8ToString(message)); });

struct Show {
    std::unique_ptr<Demo> demo;
    double clockRead = NAN; // the demo clock the current step read, seconds
    int width = 0, height = 0;
};
Show show;

// The canvas's size on the page in device pixels.
void canvasPixels(int& width, int& height) {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(kCanvas, &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    width = std::max(1, static_cast<int>(std::lround(cssWidth * ratio)));
    height = std::max(1, static_cast<int>(std::lround(cssHeight * ratio)));
}

void finish() {
    emscripten_cancel_main_loop();
    if (show.demo)
        show.demo->end();
    show.demo.reset();
    pageShowEnd();
}

void frame() {
    try {
        int width = 0, height = 0;
        canvasPixels(width, height);
        if (width != show.width || height != show.height) {
            emscripten_set_canvas_element_size(kCanvas, width, height);
            show.demo->resize(width, height);
            show.width = width;
            show.height = height;
        }
        show.clockRead = NAN;
        if (!show.demo->step()) {
            finish();
            return;
        }
        if (!std::isnan(show.clockRead))
            pageShowFrame(show.clockRead);
    } catch (const std::exception& error) {
        emscripten_cancel_main_loop();
        show.demo.reset();
        pageShowError(error.what());
    }
}

// Starts the show: live with music from the page's clock, or frozen at `time` in silence.
void start(bool frozen, double time) {
    try {
        show = Show{};
        canvasPixels(show.width, show.height);
        emscripten_set_canvas_element_size(kCanvas, show.width, show.height);

        DemoOptions options;
        options.width = show.width;
        options.height = show.height;
        options.fullscreen = false;
        options.resizable = false; // frame() sizes the canvas in device pixels
        options.music = !frozen;
        options.clock = [frozen, time] {
            show.clockRead = frozen ? time : pageHeardTime();
            return show.clockRead;
        };
        show.demo = std::make_unique<Demo>(options);
        show.demo->begin();
        if (!frozen)
            pageMusicStarted();
        emscripten_set_main_loop(frame, 0, 0);
    } catch (const std::exception& error) {
        show.demo.reset();
        pageShowError(error.what());
    }
}

} // namespace

// Called by the page's start and play-again controls, within the click that allows sound.
extern "C" EMSCRIPTEN_KEEPALIVE void wisp_play() {
    start(false, 0.0);
}

int main() {
    const double frozenTime = pageFrozenTime();
    if (!std::isnan(frozenTime))
        start(true, frozenTime);
    return 0;
}
