// The application: owns the window and both scenes, plays the schedule on the demo clock.
#include "app/Demo.h"

#include "app/Music.h"
#include "app/Schedule.h"
#include "content/Resources.h"
#include "gl/ProgramRegistry.h"

#include <SDL.h>
#include <dumb.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {
constexpr Uint32 kStillRedrawMs = 100; // how often a held moment is drawn again, milliseconds
} // namespace

Demo::Demo(const DemoOptions& options) : settings(options) {
    // A held moment is silent: no device, no module.
    if (settings.still)
        settings.music = false;
    // Video first, on its own: an audio subsystem that fails inside the same SDL_Init takes video
    // down with it, and SDL's X11 driver does not come up again in that process.
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        const std::string why = SDL_GetError();
        SDL_Quit(); // whatever subsystems did start
        throw std::runtime_error("cannot initialise SDL: " + why);
    }
    bool audio = settings.music;
    if (audio && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        // Without a usable audio driver the show still plays, silently.
        std::fprintf(stderr,
                     "one-quill-wisp: warning: cannot start audio: %s; playing without sound\n",
                     SDL_GetError());
        audio = false;
    }
    try {
        window = std::make_unique<Window>(settings.width, settings.height, settings.fullscreen,
                                          settings.display);
        if (audio)
            Music::open(moduleData, moduleSize);
        else if (settings.music)
            Music::loadModule(moduleData, moduleSize);
        DMGL::init();
    } catch (...) {
        shutdown();
        throw;
    }
}

Demo::~Demo() {
    shutdown();
}

void Demo::shutdown() {
    Music::release();
    dumb_exit();
    if (!window) {
        SDL_Quit();
        return;
    }
    // Everything made in the context goes while it still exists, in reverse order of making;
    // the window then deletes the context and shuts SDL down.
    metaballsScene.release();
    titleScene.release();
    DMGL::release();
    window.reset();
}

void Demo::run() {
    begin();
    while (step()) {
        // A held moment needs redrawing only now and then: sleep until an event or the next one.
        if (settings.still)
            SDL_WaitEventTimeout(nullptr, kStillRedrawMs);
    }
    end();
}

void Demo::begin() {
    if (settings.from) {
        // Every scene the show would have set up by then is ready before the clock runs, so
        // the first frame shows `from` itself.
        setupTitle();
        if (*settings.from >= Schedule::kMetaballsStart)
            setupMetaballs();
        Music::startFrom(*settings.from);
    } else {
        Music::start();
        setupTitle();
    }
    running = true;
}

bool Demo::step() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYUP && event.key.keysym.sym == SDLK_ESCAPE)
            running = false;
        else if (event.type == SDL_QUIT)
            running = false;
    }
    if (!running)
        return false;
    if (settings.still) {
        drawFrame(*settings.still);
        window->swap();
        return true;
    }
    // Asleep until the first audio callback, but awake often enough to see a quit.
    constexpr std::uint32_t kWaitSliceMs = 10;
    if (!Music::awaitAnchor(kWaitSliceMs))
        return true;
    currentTime = settings.clock ? settings.clock() : Music::clockSeconds();
    if (drawFrame(currentTime)) {
        window->swap();
        return true;
    }
    // From 114 s nothing is drawn, so nothing is shown. A loop starts the music over; the next
    // pass draws once the audio has anchored the clock again.
    if (settings.loop)
        Music::start();
    else
        running = false;
    return running;
}

void Demo::end() {
    Music::stop();
}

void Demo::resize(int width, int height) {
    window->resize(width, height);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    // Each scene set up follows; the one whose objects are bound goes last, so they stay bound.
    if (boundAct == Schedule::Act::Metaballs) {
        titleScene.resume();
        titleScene.resize(w, h);
        metaballsScene.resume();
        metaballsScene.resize(w, h);
        return;
    }
    if (metaballsScene.isStarted()) {
        metaballsScene.resume();
        metaballsScene.resize(w, h);
        titleScene.resume();
    }
    titleScene.resize(w, h);
}

void Demo::setupTitle() {
    titleScene.setup(currentTime, static_cast<float>(window->width()),
                     static_cast<float>(window->height()));
    boundAct = Schedule::Act::Title;
}

void Demo::setupMetaballs() {
    metaballsScene.setup(Schedule::kMetaballsStart, static_cast<float>(window->width()),
                         static_cast<float>(window->height()));
    boundAct = Schedule::Act::Metaballs;
}

bool Demo::drawFrame(double t) {
    const Schedule::Act act = Schedule::actAt(t);
    // A scene draws with the GL objects its setup left bound; when the other scene drew last
    // (the title again on a loop's next pass), it binds its own again.
    if (act == Schedule::Act::Title && boundAct != act) {
        titleScene.resume();
        boundAct = act;
    }
    if (act == Schedule::Act::Metaballs && boundAct != act) {
        if (metaballsScene.isStarted())
            metaballsScene.resume();
        else
            setupMetaballs();
        boundAct = act;
    }
    switch (act) {
    case Schedule::Act::Title:
        titleScene.draw(t);
        return true;
    case Schedule::Act::Metaballs:
        metaballsScene.draw(t);
        return true;
    case Schedule::Act::End:
        break;
    }
    return false;
}
