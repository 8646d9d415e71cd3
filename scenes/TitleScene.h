// The first 18 seconds: sprites from the title atlas fading over white and a pulsing star.
#pragma once

#include "gl/Image.h"
#include "gl/Matrix4.h"
#include "gl/ProgramRegistry.h"
#include "gl/ScreenQuad.h"
#include "scenes/StarEdges.h"
#include "scenes/ViewportRect.h"

#include <GL/glew.h>

#include <memory>
#include <vector>

// Where one sprite lies in the title atlas, as fractions of the atlas's size.
struct TitleSprite {
    const char* name;
    float u, v, width, height;
};

// One element of the title's timeline.
struct TitleElement {
    const TitleSprite* sprite;
    float start, finish; // scene time in seconds; shown strictly between the two
    float speed;         // fade-in and fade-out length, seconds
    float x, y, w, h;    // screen rectangle in uv units; edges included
    bool slides;         // x moves left by time / 22
    bool additive;       // adds its colour instead of covering what lies beneath

    // The screen rectangle's left edge at scene time `time`, in single precision.
    float left(float time) const { return slides ? x - time / 22.0f : x; }
};

constexpr int kTitleElements = 10;
// The timeline in composition order: later elements are composed over earlier ones.
extern const TitleElement titleElements[kTitleElements];

// The star's window, scene time in seconds; shown strictly between the two.
constexpr float kStarShow = 4.0f;
constexpr float kStarHide = 17.0f;

// One draw of the elements: the rectangle of one shown element, and every shown element whose
// rectangle meets it, in composition order (indices into titleElements). Where rectangles
// overlap, the draws of both give the same colours.
struct TitleChain {
    UvRect area;
    int elements[DMGL::kTitleMaxElements];
    int count;
};

// The draws of the elements shown at scene time `time` (seconds, single precision, as the shader
// sees it), one a shown element. Throws std::logic_error if more elements meet than one draw
// composes.
std::vector<TitleChain> titleChains(float time);

class TitleScene {
public:
    // Start-up work, before the first frame: makes the scene's quad and projection. width and
    // height are the window's size in pixels; the current viewport is the area the picture
    // fills. From here on the scene draws the moments that show only white (see plainAt).
    void prepare(float width, float height);
    // Takes the uploaded title atlas (release deletes it) and gives the title programs, which
    // must be built, their fixed uniforms. From here on the scene draws every moment.
    void adoptAtlas(GLuint texture);
    bool hasAtlas() const { return atlas != 0; }
    // Whether the frame for demo clock `clock` (seconds) is the white ground and black bands
    // alone, drawn without programs or atlas: before the first element and the star.
    bool plainAt(double clock) const;

    // The title programs, one at a time: warm(program) for program 0 to kWarmPrograms - 1 draws
    // that one once into one pixel at the viewport's bottom-left corner, with the GL state of
    // the scene's draws, so that the driver compiles it before first use. The caller draws a
    // frame over that pixel before the next swap.
    static constexpr int kWarmPrograms = 3 * (DMGL::kTitleMaxElements + 1) - 1;
    void warm(int program) const;

    // Binds what prepare made. `start` is the demo clock (seconds) at which the scene starts.
    void setup(double start);

    // Draws the frame for demo clock `clock` (seconds): black bands, and in the viewport the star
    // (while shown) and the elements shown at that time, each over its own rectangle.
    void draw(double clock);

    // Deletes the scene's texture and quad objects; needs the context they were made in.
    void release();

    // Follows a new window size in pixels and the current viewport: the quad and the projection;
    // the scene keeps its texture and buffers. Only once prepared.
    void resize(float width, float height);

private:
    void bindState() const;
    // Draws the elements `chain` (indices into titleElements, composition order) over `area`,
    // on the star drawn as `star` says.
    void drawChain(const int* chain, int count, DMGL::TitleStar star, float time,
                   const PixelRect& area) const;
    // Makes the variant current with the uniforms of those elements and the star at `time`.
    void useChain(const int* chain, int count, DMGL::TitleStar star, float time) const;
    // Draws the current variant over `area`.
    void drawOver(const PixelRect& area) const;
    // The same over `area` on the star: by angle sums, then exactly over the star's edges.
    void drawOnStar(const int* chain, int count, float time, const PixelRect& area,
                    const std::vector<PixelRect>& edges) const;

    double startTime = 0.0;
    int windowHeight = 0;
    PixelRect viewport{0, 0, 0, 0};
    GLuint atlas = 0;
    std::unique_ptr<DMGL::Matrix4> projection;
    DMGL::ScreenQuad quad;
    std::unique_ptr<StarBlocks> starBlocks; // for the current viewport, made on first use
};
