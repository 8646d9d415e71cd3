// The first 18 seconds: sprites from the title atlas fading over white and a pulsing star.
#pragma once

#include "gl/Image.h"
#include "gl/Matrix4.h"
#include "gl/ProgramRegistry.h"
#include "gl/ScreenQuad.h"
#include "gl/Texture.h"
#include "scenes/AtlasCoverage.h"
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
    // fills. From here on the scene draws the moments that show only white (see plainAt). Keeps
    // the decoded title atlas until it has found where the atlas holds colour.
    void prepare(float width, float height, const std::shared_ptr<DMGL::Image>& titleAtlas);
    // Takes the uploaded title atlas (release deletes it) and gives the title programs, which
    // must be built, their fixed uniforms. From here on the scene draws every moment.
    void adoptAtlas(DMGL::Texture texture);
    bool hasAtlas() const { return static_cast<bool>(atlas); }
    // Whether the frame for demo clock `clock` (seconds) is the white ground and black bands
    // alone, drawn without programs or atlas: before the first element and the star.
    bool plainAt(double clock) const;

    // The title programs, one at a time: warm(program) for program 0 to kWarmPrograms - 3 draws
    // that one once into one pixel at the viewport's bottom-left corner, with the GL state of
    // the scene's draws, so that the driver compiles it before first use. The caller draws a
    // frame over that pixel before the next swap. The last two steps work out where the atlas
    // holds colour and the star's blocks for the viewport, which draw would do on first use.
    static constexpr int kWarmPrograms = 3 * (DMGL::kTitleMaxElements + 1) - 1 + 2;
    void warm(int program);

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
    // Draws the current variant over `area`, with the full quad: every pixel gets the uv of the
    // literal draw.
    void drawOver(const PixelRect& area) const;
    // Draws the current variant over `rects` in one draw of a rectangle each. Their uv may differ
    // from the full quad's in the last digit: only for pixels where that cannot show.
    void drawRects(const std::vector<PixelRect>& rects);
    // Rectangles that hold every pixel of the chain's rectangle where one of its elements can
    // colour at `time`: they meet its screen rectangle and sample coloured texels there.
    std::vector<PixelRect> inkedRuns(const TitleChain& chain, float time);
    StarBlocks& starBlocksNow(); // for the current viewport
    const AtlasCoverage& atlasCoverage();

    double startTime = 0.0;
    int windowHeight = 0;
    PixelRect viewport{0, 0, 0, 0};
    DMGL::Texture atlas;
    std::unique_ptr<DMGL::Matrix4> projection;
    DMGL::ScreenQuad quad;
    GLuint rectBuffer = 0;                   // vertices of drawRects
    std::unique_ptr<StarBlocks> starBlocks;  // made on first use and for each new viewport
    std::shared_ptr<DMGL::Image> atlasImage; // held until the coverage is made from it
    std::unique_ptr<AtlasCoverage> coverage; // made on first use
};
