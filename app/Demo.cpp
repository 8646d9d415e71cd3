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
#include <utility>

namespace {
constexpr Uint32 kStillRedrawMs = 100; // how often a held moment is drawn again, milliseconds
// Rows of an atlas uploaded in one piece of start-up work: 2 MiB of a 2048-pixel-wide atlas.
constexpr std::int32_t kAtlasBandRows = 256;

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
        // The audio device opens paused, before the window: SDL's audio thread then queues a
        // buffer of silence at once, and the music's first buffer queues behind it when start()
        // comes, as the clock's anchor assumes. A device opened just before start() might take
        // the music first.
        if (audio) {
            Music::open(moduleData, moduleSize);
            Music::delaySound(settings.audioDelayMs);
        } else if (settings.music)
            Music::loadModule(moduleData, moduleSize);
        window = std::make_unique<Window>(settings.width, settings.height, settings.fullscreen,
                                          settings.display, settings.resizable);
        const DecodedAtlases decoded = atlases.get();
        titleImage = decoded.title;
        greetingsImage = decoded.greetings;
        const float width = static_cast<float>(window->width());
        const float height = static_cast<float>(window->height());
        titleScene.prepare(width, height, titleImage);
        metaballsScene.prepare(width, height);
        if (!settings.prepareInFrames)
            while (prepareNext(false)) {
            }
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
    upload.reset();
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
        if (const auto size = window->followSizeChange(event))
            resize(size->width, size->height);
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
    // Until the first audio callback the start-up work goes on, a piece a pass; then asleep
    // until the callback, but awake often enough to see a quit.
    if (!Music::isAnchored() && prepareNext(true))
        return true;
    constexpr std::uint32_t kWaitSliceMs = 10;
    if (!Music::awaitAnchor(kWaitSliceMs))
        return true;
    currentTime = settings.clock ? settings.clock() : Music::clockSeconds();
    // What is left of it: a piece a frame, after the first frame is on screen.
    if (framesShown > 0)
        prepareNext(true);
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

bool Demo::prepareNext(bool warm) {
    if (DMGL::builtCount() < DMGL::kProgramCount) {
        DMGL::buildNext();
        return true;
    }
    if (!titleScene.hasAtlas()) {
        if (DMGL::Texture texture = uploadBand(titleImage))
            titleScene.adoptAtlas(std::move(texture));
        return true;
    }
    if (warm && titleProgramsWarmed < TitleScene::kWarmPrograms) {
        titleScene.warm(titleProgramsWarmed++);
        return true;
    }
    if (!metaballsScene.hasAtlas()) {
        if (DMGL::Texture texture = uploadBand(greetingsImage))
            metaballsScene.adoptAtlas(std::move(texture));
        return true;
    }
    if (warm && !metaballsWarmed) {
        metaballsScene.warm();
        metaballsWarmed = true;
        return true;
    }
    return false;
}

DMGL::Texture Demo::uploadBand(std::shared_ptr<DMGL::Image>& image) {
    if (!upload) {
        upload = std::make_unique<DMGL::TextureUpload>(std::move(image));
        image.reset();
    }
    if (upload->uploadRows(kAtlasBandRows))
        return DMGL::Texture();
    DMGL::Texture texture = upload->take();
    upload.reset();
    return texture;
}

void Demo::prepareFor(double t) {
    const auto ready = [&] {
        switch (Schedule::actAt(t)) {
        case Schedule::Act::Title:
            return titleScene.hasAtlas() || titleScene.plainAt(t);
        case Schedule::Act::Metaballs:
            return metaballsScene.hasAtlas();
        case Schedule::Act::End:
            break;
        }
        return true;
    };
    while (!ready() && prepareNext(false)) {
    }
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
    window->clear();
    setupTitle();
}

bool Demo::drawFrame(double t) {
    prepareFor(t);
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
