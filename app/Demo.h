// The application: owns the window and both scenes, plays the schedule on the demo clock.
#pragma once

#include "app/Schedule.h"
#include "app/Window.h"
#include "gl/Texture.h"
#include "scenes/MetaballsScene.h"
#include "scenes/TitleScene.h"

#include <functional>
#include <memory>
#include <optional>

struct DemoOptions {
    int width = 0; // window size in pixels; 0 with fullscreen: the desktop's resolution
    int height = 0;
    bool fullscreen = true; // fullscreen at the desktop's resolution, cursor hidden
    bool music = true;      // open the audio device and play the module
    // Where each frame reads the demo clock (seconds), once the music's clock is anchored.
    // Empty: the music's own clock. A host that knows its audio path's latency better (a
    // browser) or wants a still frame supplies its own.
    std::function<double()> clock = nullptr;
    int display = -1; // the display to open on, counted from 0; -1: the one SDL picks
    // A window (not fullscreen) that the user may resize, the picture following. Off for a host
    // that sizes the drawing surface itself (a browser page sizes its canvas in device pixels).
    bool resizable = true;
    // Demo time in seconds of the first frame, the music starting where it would have been
    // live; none: the show from its beginning.
    std::optional<double> from{};
    // Demo time in seconds to hold on screen, silently, until quit; none: play the show.
    std::optional<double> still{};
    bool loop = false; // at the end, start again from 0 until quit
    // Milliseconds the sound plays later against the picture (negative: earlier), beyond what
    // the sound server reports; for a projector or receiver that delays the picture.
    double audioDelayMs = 0.0;
    // Leave the programs' building and the atlases' upload to the frame loop (step), a piece a
    // pass, while the title's first second shows only white; each frame still gets whatever its
    // picture needs first. Otherwise the constructor does all of it.
    bool prepareInFrames = false;
};

class Demo {
public:
    // The show as it plays: fullscreen at the desktop's resolution, with music.
    Demo() : Demo(DemoOptions{}) {}
    // Initialises SDL, opens the music (if asked), opens the window, decodes both atlases
    // (beside the window's creation), and unless options.prepareInFrames builds the programs
    // and uploads the atlases.
    // Throws std::runtime_error naming what failed; everything made so far is released.
    explicit Demo(const DemoOptions& options);
    ~Demo();
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    // Plays the schedule until 114 s, Escape released or the window closed; closes the audio.
    // The same as begin(), step() until it returns false, then end(): a host that owns the
    // frame loop (a browser's animation callback) calls the three itself.
    void run();
    // Starts the music and sets the title scene up.
    void begin();
    // One pass of the loop: drains the events, and once the clock is anchored draws the frame
    // for the current demo clock and swaps; until then it does start-up work left to the loop.
    // Returns false when the show is over.
    bool step();
    // Closes the audio.
    void end();
    // Follows a new window size in pixels: the letterboxed area and the running scene.
    void resize(int width, int height);

    // Sets the title scene up at the current demo clock (0 before the show starts).
    void setupTitle();
    // The start of an offscreen capture: clears the whole window to black, so bands the demo
    // never writes read as on a fresh window, then sets the title scene up.
    void setupCapture();
    // Draws the frame for demo clock `t` (seconds): the title below 18 s, the metaballs (set up
    // on first use, starting at 18 s) below 114 s. Returns false, drawing nothing, from 114 s on.
    // Finishes first whatever start-up work that frame needs and the frame loop has not done.
    bool drawFrame(double t);

    const Window& screen() const { return *window; }

private:
    void shutdown();
    // Ends the show: hides the window and silences the music.
    void leave();
    // One bounded piece of the start-up GPU work, in the order the show needs it: build a
    // program, upload a band of an atlas's rows, hand a scene its atlas, or (with `warm`) draw
    // programs of a scene once so that the driver compiles them before the scene's first frame;
    // a warming pass must draw a whole frame before its swap. Returns false once nothing is
    // left.
    bool prepareNext(bool warm);
    // Does the pieces of that work the frame for demo clock `t` (seconds) needs.
    void prepareFor(double t);
    // Uploads the next band of the atlas `image` (handing the image over to the upload at the
    // first band); returns the texture once its last band is in, else an empty one.
    DMGL::Texture uploadBand(std::shared_ptr<DMGL::Image>& image);

    DemoOptions settings;
    std::unique_ptr<Window> window;
    TitleScene titleScene;
    MetaballsScene metaballsScene;
    double currentTime = 0.0; // latest demo clock reading, seconds
    bool running = false;     // between begin() and the step that ends the show
    int framesShown = 0;      // frames swapped onto the screen
    // Start-up work not done yet: decoded atlases to upload, the upload under way, warming.
    std::shared_ptr<DMGL::Image> titleImage, greetingsImage;
    std::unique_ptr<DMGL::TextureUpload> upload;
    int titleProgramsWarmed = 0;
    bool metaballsWarmed = false;
};
