// The application: owns the window and both scenes, plays the schedule on the demo clock.
#pragma once

#include "app/Schedule.h"
#include "app/Window.h"
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
    // Demo time in seconds of the first frame, the music starting where it would have been
    // live; none: the show from its beginning.
    std::optional<double> from{};
    // Demo time in seconds to hold on screen, silently, until quit; none: play the show.
    std::optional<double> still{};
    bool loop = false; // at the end, start again from 0 until quit
};

class Demo {
public:
    // The show as it plays: fullscreen at the desktop's resolution, with music.
    Demo() : Demo(DemoOptions{}) {}
    // Initialises SDL, opens the window, opens the music (if asked), builds the programs, and
    // decodes and uploads both atlases (decoding beside the window's creation).
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
    // for the current demo clock and swaps. Returns false when the show is over.
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
    bool drawFrame(double t);

    const Window& screen() const { return *window; }

private:
    void shutdown();
    // Ends the show: hides the window and silences the music.
    void leave();
    // Compiles the next scene's programs ahead of their first use by a tiny draw.
    void warmNextProgram();

    DemoOptions settings;
    std::unique_ptr<Window> window;
    TitleScene titleScene;
    MetaballsScene metaballsScene;
    double currentTime = 0.0; // latest demo clock reading, seconds
    bool running = false;     // between begin() and the step that ends the show
    int framesShown = 0;      // frames swapped onto the screen
    int scenesWarmed = 0;     // scenes whose programs have been drawn once
};
