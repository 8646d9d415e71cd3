// The application: owns the window and both scenes, plays the schedule on the demo clock.
#include "app/Demo.h"

#include "app/Music.h"
#include "app/Schedule.h"
#include "content/Resources.h"
#include "gl/ProgramRegistry.h"
#include "scenes/AtlasTexture.h"

#include <GL/glew.h>
#include <SDL.h>
#include <dumb.h>

#include <cstdio>
#include <future>
#include <stdexcept>
#include <string>

namespace {
constexpr Uint32 kStillRedrawMs = 100; // how often a held moment is drawn again, milliseconds

#ifdef __EMSCRIPTEN__
constexpr std::launch kDecodePolicy = std::launch::deferred; // a page has no threads
#else
constexpr std::launch kDecodePolicy = std::launch::async;
#endif

struct DecodedAtlases {
    std::shared_ptr<DMGL::Image> title, greetings;
};

DecodedAtlases decodeAtlases() {
    return DecodedAtlases{
        decodeAtlas(titleAtlasData, titleAtlasSize, 2048, 2048, "title"),
        decodeAtlas(greetingsAtlasData, greetingsAtlasSize, 2048, 512, "greetings")};
}
} // namespace

Demo::Demo(const DemoOptions& options) : settings(options) {
    // Decoding needs no GL context: it runs while SDL loads the GL driver and opens the window.
    std::future<DecodedAtlases> atlases = std::async(kDecodePolicy, decodeAtlases);
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
        const DecodedAtlases decoded = atlases.get();
        const float width = static_cast<float>(window->width());
        const float height = static_cast<float>(window->height());
        titleScene.prepare(decoded.title, width, height);
        metaballsScene.prepare(decoded.greetings, width, height);
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
    if (settings.from)
        Music::startFrom(*settings.from);
    else
        Music::start();
    setupTitle();
    running = true;
}

bool Demo::step() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        const bool quit = (event.type == SDL_KEYUP && event.key.keysym.sym == SDLK_ESCAPE) ||
                          event.type == SDL_QUIT;
        if (quit && running)
            leave();
    }
    if (!running)
        return false;
    if (settings.still) {
        drawFrame(*settings.still);
        window->swap();
        ++framesShown;
        return true;
    }
    // Asleep until the first audio callback, but awake often enough to see a quit.
    constexpr std::uint32_t kWaitSliceMs = 10;
    if (!Music::awaitAnchor(kWaitSliceMs))
        return true;
    currentTime = settings.clock ? settings.clock() : Music::clockSeconds();
    warmNextProgram();
    if (drawFrame(currentTime)) {
        window->swap();
        ++framesShown;
        return true;
    }
    // From 114 s nothing is drawn. A loop starts the music over; the next pass draws once the
    // audio has anchored the clock again.
    if (settings.loop) {
        Music::start();
        return true;
    }
    leave(); // nothing is shown
    return false;
}

void Demo::leave() {
    // The window goes and the sound stops at once; closing the audio device, which can take
    // half a second, follows in end() unseen and unheard.
    running = false;
    window->hide();
    Music::silence();
}

void Demo::end() {
    Music::stop();
}

void Demo::warmNextProgram() {
    // Not before the first frame is on screen; one scene a frame, each before its frame's draw
    // covers the pixel it touches. In the show these frames fall in the title's white first second.
    if (framesShown == 0 || scenesWarmed >= 2)
        return;
    if (scenesWarmed++ == 0)
        titleScene.warm();
    else
        metaballsScene.warm();
}

void Demo::resize(int width, int height) {
    window->resize(width, height);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    titleScene.resize(w, h);
    metaballsScene.resize(w, h);
}

void Demo::setupTitle() {
    titleScene.setup(currentTime);
}

void Demo::setupCapture() {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    setupTitle();
}

bool Demo::drawFrame(double t) {
    switch (Schedule::actAt(t)) {
    case Schedule::Act::Title:
        titleScene.draw(t);
        return true;
    case Schedule::Act::Metaballs:
        if (!metaballsScene.isStarted())
            metaballsScene.setup(Schedule::kMetaballsStart);
        metaballsScene.draw(t);
        return true;
    case Schedule::Act::End:
        break;
    }
    return false;
}
