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

Demo::Demo(const DemoOptions& options) : clock(options.clock) {
    bool audio = options.music;
    if (SDL_Init(audio ? SDL_INIT_AUDIO | SDL_INIT_VIDEO : SDL_INIT_VIDEO) != 0) {
        // Without a usable audio driver the show still plays, silently.
        const std::string reason = SDL_GetError();
        if (!audio || SDL_Init(SDL_INIT_VIDEO) != 0) {
            const std::string why = SDL_GetError();
            SDL_Quit(); // whatever subsystems did start
            throw std::runtime_error("cannot initialise SDL: " + why);
        }
        std::fprintf(stderr,
                     "one-quill-wisp: warning: cannot start audio: %s; playing without sound\n",
                     reason.c_str());
        audio = false;
    }
    try {
        window = std::make_unique<Window>(options.width, options.height, options.fullscreen);
        if (audio)
            Music::open(moduleData, moduleSize);
        else if (options.music)
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
    }
    end();
}

void Demo::begin() {
    Music::start();
    setupTitle();
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
    // Asleep until the first audio callback, but awake often enough to see a quit.
    constexpr std::uint32_t kWaitSliceMs = 10;
    if (!Music::awaitAnchor(kWaitSliceMs))
        return true;
    currentTime = clock ? clock() : Music::clockSeconds();
    running = drawFrame(currentTime);
    if (running)
        window->swap(); // from 114 s nothing is drawn, so nothing is shown
    return running;
}

void Demo::end() {
    Music::stop();
}

void Demo::resize(int width, int height) {
    window->resize(width, height);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    if (metaballsScene.isStarted())
        metaballsScene.resize(w, h);
    else
        titleScene.resize(w, h);
}

void Demo::setupTitle() {
    titleScene.setup(currentTime, static_cast<float>(window->width()),
                     static_cast<float>(window->height()));
}

bool Demo::drawFrame(double t) {
    switch (Schedule::actAt(t)) {
    case Schedule::Act::Title:
        titleScene.draw(t);
        return true;
    case Schedule::Act::Metaballs:
        if (!metaballsScene.isStarted())
            metaballsScene.setup(Schedule::kMetaballsStart, static_cast<float>(window->width()),
                                 static_cast<float>(window->height()));
        metaballsScene.draw(t);
        return true;
    case Schedule::Act::End:
        break;
    }
    return false;
}
