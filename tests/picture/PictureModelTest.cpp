// Checks of the picture model against figures and behaviour fixed independently of its code.
#include "AtlasTexture.h"
#include "Frame.h"
#include "GreetingsOverlay.h"
#include "Letterbox.h"
#include "MetaballsPicture.h"
#include "TitlePicture.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

using namespace picture;

namespace {

// A small texture of one repeated texel; any sample of it returns that texel.
AtlasTexture uniformAtlas(AtlasTexture::Texel texel) {
    return AtlasTexture(8, 8, std::vector<AtlasTexture::Texel>(64, texel));
}

const AtlasTexture::Texel kOpaqueBlack{0, 0, 0, 255};
const AtlasTexture::Texel kTransparent{0, 0, 0, 0};
const Rgb8 kWhite{255, 255, 255};
const Rgb8 kBlack{0, 0, 0};

bool operator==(const Rgb8& a, const Rgb8& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

::testing::AssertionResult isColour(const Frame& f, int x, int y, Rgb8 expected) {
    const Rgb8& p = f.at(x, y);
    if (p == expected) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is (" << int(p.r) << ", " << int(p.g) << ", "
           << int(p.b) << "), expected (" << int(expected.r) << ", " << int(expected.g) << ", "
           << int(expected.b) << ")";
}

} // namespace

TEST(Letterbox, AreaSpansTheWidthAndIsCentredVertically) {
    struct Case {
        int width, height, areaHeight, bottom;
    };
    const Case cases[] = {{1920, 1080, 1080, 0}, {1920, 1200, 1080, 60},   {1280, 1024, 720, 152},
                          {1366, 768, 768, 0},   {2560, 1080, 1440, -180}, {640, 541, 360, 90},
                          {640, 179, 360, -90}};
    for (const Case& c : cases) {
        const Letterbox box = letterbox(c.width, c.height);
        EXPECT_EQ(box.areaHeight, c.areaHeight) << c.width << "x" << c.height;
        EXPECT_EQ(box.bottom, c.bottom) << c.width << "x" << c.height;
    }
}

TEST(Letterbox, UvGrowsDownFromTheAreaTopAtPixelCentres) {
    const Letterbox box = letterbox(640, 480);
    EXPECT_FALSE(box.containsRow(59));
    EXPECT_TRUE(box.containsRow(60));
    EXPECT_TRUE(box.containsRow(419));
    EXPECT_FALSE(box.containsRow(420));
    const Vec2 first = fragmentUv(box, 0, 60);
    EXPECT_FLOAT_EQ(first.x, 0.5f / 640.0f);
    EXPECT_FLOAT_EQ(first.y, 0.5f / 360.0f);
    const Vec2 last = fragmentUv(box, 639, 419);
    EXPECT_FLOAT_EQ(last.y, 359.5f / 360.0f);
    // The projection's 480 units of height are squeezed into the 360 rows of the area.
    EXPECT_FLOAT_EQ(projectionUnitsAt(box, 0, 419).y, 359.5f * 480.0f / 360.0f);
}

TEST(AtlasTexture, LinearFilterReadsTexelCentresAndRepeatsAtTheEdges) {
    std::vector<AtlasTexture::Texel> texels = {
        {0, 0, 0, 255},   {40, 0, 0, 255},  {80, 0, 0, 255},  {120, 0, 0, 255},
        {200, 0, 0, 255}, {200, 0, 0, 255}, {200, 0, 0, 255}, {200, 0, 0, 255},
    };
    const AtlasTexture texture(4, 2, texels);
    EXPECT_NEAR(texture.sample({1.5f / 4, 0.5f / 2}).x * 255, 40, 1e-3);
    EXPECT_NEAR(texture.sample({2.0f / 4, 0.5f / 2}).x * 255, 60, 1e-3);
    // u = 0 lies half-way between the last column and the first one.
    EXPECT_NEAR(texture.sample({0.0f, 0.5f / 2}).x * 255, 60, 1e-3);
    // v = 0.5 lies half-way between the two rows.
    EXPECT_NEAR(texture.sample({1.5f / 4, 0.5f}).x * 255, 120, 1e-3);
}

TEST(AtlasTexture, LoadingMultipliesColourByAlpha) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 2, 1, 32, SDL_PIXELFORMAT_RGBA32);
    ASSERT_NE(s, nullptr);
    auto* p = static_cast<std::uint8_t*>(s->pixels);
    const std::uint8_t pixels[8] = {255, 0, 0, 128, 0, 255, 0, 0};
    std::copy(pixels, pixels + 8, p);
    const std::string path =
        (std::filesystem::temp_directory_path() / "picture_model_premultiply.png").string();
    ASSERT_EQ(IMG_SavePNG(s, path.c_str()), 0) << IMG_GetError();
    SDL_FreeSurface(s);

    const AtlasTexture atlas = AtlasTexture::loadPremultiplied(path);
    std::remove(path.c_str());
    EXPECT_NEAR(atlas.texel(0, 0)[0], 128, 1);
    EXPECT_EQ(atlas.texel(0, 0)[3], 128);
    const AtlasTexture::Texel clear{0, 0, 0, 0};
    EXPECT_EQ(atlas.texel(1, 0), clear);
}

TEST(TitlePicture, PlainWhiteWhenNoElementOrBackgroundIsOpen) {
    // An opaque atlas would show any element that is drawn.
    const AtlasTexture atlas = uniformAtlas(kOpaqueBlack);
    const Letterbox box = letterbox(64, 48);
    for (double t : {0.5, 1.0, 1.5, 3.95, 4.0, 17.5, 17.75}) {
        Frame frame(64, 48);
        renderTitle(frame, box, t, atlas);
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                ASSERT_TRUE(isColour(frame, x, y, box.containsRow(y) ? kWhite : kBlack))
                    << "at " << t << " s";
            }
        }
    }
}

TEST(TitlePicture, StarCentreIsTransparentAndShowsWhite) {
    for (float t : {4.6f, 5.7f, 10.0f, 16.0f}) {
        const Vec4 c = titleBackground({0.5f, 0.5f}, t);
        EXPECT_FLOAT_EQ(c.x, 1.0f);
        EXPECT_FLOAT_EQ(c.y, 0.7f);
        EXPECT_FLOAT_EQ(c.z, 0.0f);
        EXPECT_FLOAT_EQ(c.w, 0.0f) << "at " << t << " s";
    }
    // At 5.7 s only the background is open.
    const Vec3 shown = overWhite(titleFragment({0.5f, 0.5f}, 5.7f, uniformAtlas(kOpaqueBlack)));
    EXPECT_FLOAT_EQ(shown.x, 1.0f);
    EXPECT_FLOAT_EQ(shown.y, 1.0f);
    EXPECT_FLOAT_EQ(shown.z, 1.0f);
}

TEST(TitlePicture, GroupLogoSlidesLeftAndFadesIn) {
    const AtlasTexture atlas = uniformAtlas(kOpaqueBlack);
    const Letterbox box = letterbox(640, 360);
    // At 1.9 s the logo is half faded in; its rectangle runs from x = 0.3 - 1.9 / 22 (136.7 px)
    // to 0.7 further right (584.7 px), and from y = 0.2 (72 px) to 0.8 (288 px).
    Frame half(640, 360);
    renderTitle(half, box, 1.9, atlas);
    const Rgb8 grey{128, 128, 128};
    EXPECT_TRUE(isColour(half, 136, 180, kWhite));
    EXPECT_TRUE(isColour(half, 137, 180, grey));
    EXPECT_TRUE(isColour(half, 584, 180, grey));
    EXPECT_TRUE(isColour(half, 585, 180, kWhite));
    EXPECT_TRUE(isColour(half, 300, 71, kWhite));
    EXPECT_TRUE(isColour(half, 300, 72, grey));
    EXPECT_TRUE(isColour(half, 300, 287, grey));
    EXPECT_TRUE(isColour(half, 300, 288, kWhite));
    // At 3.0 s it is opaque and its left edge has reached 0.3 - 3 / 22 (104.7 px).
    Frame full(640, 360);
    renderTitle(full, box, 3.0, atlas);
    EXPECT_TRUE(isColour(full, 104, 180, kWhite));
    EXPECT_TRUE(isColour(full, 105, 180, kBlack));
}

TEST(MetaballsPicture, EarlyBallIsFlatDarkRedOnWhiteBetweenBlackBands) {
    Frame frame(640, 480);
    renderMetaballs(frame, letterbox(640, 480), 1.0);
    EXPECT_TRUE(isColour(frame, 320, 240, Rgb8{26, 0, 0}));
    EXPECT_TRUE(isColour(frame, 10, 70, kWhite));
    EXPECT_TRUE(isColour(frame, 630, 410, kWhite));
    EXPECT_TRUE(isColour(frame, 320, 59, kBlack));
    EXPECT_TRUE(isColour(frame, 320, 420, kBlack));
}

TEST(MetaballsPicture, PictureIsWhiteOnceTheBallsHaveShrunk) {
    const Letterbox box = letterbox(160, 120);
    for (double tau : {92.95, 94.0, 95.9}) {
        Frame frame(160, 120);
        renderMetaballs(frame, box, tau);
        for (int y = 0; y < 120; ++y) {
            for (int x = 0; x < 160; ++x) {
                ASSERT_TRUE(isColour(frame, x, y, box.containsRow(y) ? kWhite : kBlack))
                    << "at scene time " << tau;
            }
        }
    }
}

TEST(MetaballsPicture, BallsMoveOnlyBetweenTheirGatherings) {
    for (float tau : {3.0f, 15.5f}) {
        for (const Vec3& c : metaballsState(tau).centres) {
            EXPECT_FLOAT_EQ(c.x, 0.0f);
            EXPECT_FLOAT_EQ(c.y, 0.0f);
            EXPECT_FLOAT_EQ(c.z, 1.3f);
        }
    }
    const MetaballsState moving = metaballsState(40.0f);
    for (int i = 1; i < 5; ++i) {
        EXPECT_GT(length(moving.centres[i] - moving.centres[0]), 0.05f) << "ball " << i;
    }
    // From scene time 89.5 the motion has died down and the balls sit together at z = 1.
    for (const Vec3& c : metaballsState(90.0f).centres) {
        EXPECT_NEAR(c.x, 0.0f, 1e-6);
        EXPECT_NEAR(c.y, 0.0f, 1e-6);
        EXPECT_NEAR(c.z, 1.0f, 1e-6);
    }
    EXPECT_FLOAT_EQ(metaballsState(30.0f).ballSize, 0.2f);
    EXPECT_FLOAT_EQ(metaballsState(93.0f).ballSize, 0.0f);
}

TEST(GreetingsOverlay, CaptionChangesEveryThreeSecondsAndStopsAfterFourteen) {
    EXPECT_EQ(captionIndex(0.5), 0);
    EXPECT_EQ(captionIndex(3.0), 1);
    EXPECT_EQ(captionIndex(41.999), 13);
    EXPECT_EQ(greetingsLayout(41.999, 1920, 1080).size(), 2u);
    EXPECT_TRUE(greetingsLayout(42.0, 1920, 1080).empty());
}

namespace {

void expectRect(const OverlaySprite& s, float left, float top, float right, float bottom) {
    EXPECT_NEAR(s.left, left, 1e-3);
    EXPECT_NEAR(s.top, top, 1e-3);
    EXPECT_NEAR(s.right, right, 1e-3);
    EXPECT_NEAR(s.bottom, bottom, 1e-3);
}

} // namespace

TEST(GreetingsOverlay, SpritesScaleWithTheWindowWidth) {
    const auto at1080 = greetingsLayout(0.5, 1920, 1080);
    expectRect(at1080[0], 38.4f, 21.6f, 613.4f, 132.6f);
    expectRect(at1080[1], 1330.6f, 945.4f, 1881.6f, 1058.4f);
    expectRect(greetingsLayout(3.0, 1920, 1080)[1], 1410.6f, 956.4f, 1881.6f, 1058.4f);

    const auto at720 = greetingsLayout(0.5, 1280, 720);
    expectRect(at720[0], 25.6f, 14.4f, 25.6f + 383, 14.4f + 74);
    expectRect(at720[1], 887.4f, 630.6f, 1254.4f, 705.6f);

    const auto at1440 = greetingsLayout(0.5, 2560, 1440);
    EXPECT_NEAR(at1440[0].right - at1440[0].left, 766, 1e-3);
    EXPECT_NEAR(at1440[0].bottom - at1440[0].top, 148, 1e-3);
    EXPECT_NEAR(at1440[1].right - at1440[1].left, 734, 1e-3);
    EXPECT_NEAR(at1440[1].bottom - at1440[1].top, 150, 1e-3);
}

TEST(GreetingsOverlay, HeadingIsSqueezedIntoTheAreaOfATallWindow) {
    // 640 x 480: the area is rows 60 to 419, and 480 projection units map onto its 360 rows.
    // The heading spans x 12.8 to 203.8 and y 9.6 to 46.6 units, that is rows 67.2 to 94.95.
    Frame frame(640, 480);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            frame.at(x, y) = kWhite;
        }
    }
    const Letterbox box = letterbox(640, 480);
    drawOverlaySprite(frame, box, greetingsLayout(0.5, 640, 480)[0], uniformAtlas(kOpaqueBlack));
    EXPECT_TRUE(isColour(frame, 100, 66, kWhite));
    EXPECT_TRUE(isColour(frame, 100, 67, kBlack));
    EXPECT_TRUE(isColour(frame, 100, 94, kBlack));
    EXPECT_TRUE(isColour(frame, 100, 95, kWhite));
    EXPECT_TRUE(isColour(frame, 12, 80, kWhite));
    EXPECT_TRUE(isColour(frame, 13, 80, kBlack));
    EXPECT_TRUE(isColour(frame, 203, 80, kBlack));
    EXPECT_TRUE(isColour(frame, 204, 80, kWhite));
}
