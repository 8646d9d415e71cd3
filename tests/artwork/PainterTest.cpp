// atlasgen's building blocks: pure-colour layering, exact fitting of drawings, and PNG output.
#include "Art.h"
#include "Font.h"
#include "PngChunks.h"
#include "PngWriter.h"
#include "RgbaImage.h"
#include "SpriteFitter.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {

using namespace atlasgen;

constexpr Colour red = {255, 0, 0};
constexpr Colour blue = {0, 102, 255};

TEST(LayOver, KeepsEveryPixelOneOfItsPureColours) {
    for (int below = 0; below <= 255; below += 15) {
        for (int above = 0; above <= 255; above += 15) {
            const Rgba base = below == 0 ? Rgba{} : Rgba{255, 0, 0, std::uint8_t(below)};
            const Rgba out = layOver(base, std::uint8_t(above), blue);
            const double expected = above + below * (255.0 - above) / 255.0;
            EXPECT_NEAR(out.a, expected, 1.0) << below << " under " << above;
            if (out.a == 0) {
                EXPECT_TRUE(out.r == 0 && out.g == 0 && out.b == 0);
                continue;
            }
            const bool isRed = out.r == 255 && out.g == 0 && out.b == 0;
            const bool isBlue = out.r == 0 && out.g == 102 && out.b == 255;
            EXPECT_TRUE(isRed || isBlue) << below << " under " << above;
            // The colour is that of the larger share of the result.
            if (above > 200 || below == 0) {
                EXPECT_TRUE(isBlue || above == 0) << below << " under " << above;
            }
            if (above == 0) {
                EXPECT_TRUE(isRed);
            }
        }
    }
}

TEST(RgbaImageStamp, WritesStraightColourAndRefusesToLeaveTheImage) {
    RgbaImage image(8, 4);
    Mask mask(2, 2);
    mask.at(0, 0) = 128;
    mask.at(1, 1) = 255;
    image.stamp({mask}, {red}, 6, 2);
    const Rgba half = image.at(6, 2);
    EXPECT_EQ(half.r, 255);
    EXPECT_EQ(half.a, 128) << "colour must not be premultiplied";
    EXPECT_EQ(image.at(7, 3).a, 255);
    EXPECT_EQ(image.at(7, 2).a, 0);
    EXPECT_EQ(image.at(7, 2).r, 0);
    EXPECT_THROW(image.stamp({mask}, {red}, 7, 2), std::runtime_error);
}

Art disc(double cx, double cy, double r) {
    Art art;
    art.add(0, [=](cairo_t* cr) {
        cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
        cairo_fill(cr);
    });
    return art;
}

void expectFillsRectangle(const FittedSprite& fitted, int w, int h) {
    PixelRect united;
    bool any = false;
    for (const Mask& m : fitted.layers) {
        ASSERT_EQ(m.width(), w);
        ASSERT_EQ(m.height(), h);
        const PixelRect ink = m.inkBox();
        if (ink.empty()) {
            continue;
        }
        const int x1 = any ? std::max(united.x + united.w, ink.x + ink.w) : ink.x + ink.w;
        const int y1 = any ? std::max(united.y + united.h, ink.y + ink.h) : ink.y + ink.h;
        united.x = any ? std::min(united.x, ink.x) : ink.x;
        united.y = any ? std::min(united.y, ink.y) : ink.y;
        united.w = x1 - united.x;
        united.h = y1 - united.y;
        any = true;
    }
    EXPECT_EQ(united, (PixelRect{0, 0, w, h}));
}

TEST(FitArt, InkTouchesAllFourEdgesWhateverTheSize) {
    const Art round = disc(40, -12, 7.3);
    for (const auto& size : {std::pair<int, int>{31, 31}, {97, 13}, {13, 97}, {375, 104}}) {
        SCOPED_TRACE(std::to_string(size.first) + "x" + std::to_string(size.second));
        const FittedSprite fitted = fitArt(round, size.first, size.second);
        expectFillsRectangle(fitted, size.first, size.second);
        // A disc mapped undistorted onto a square stays round.
        if (size.first == size.second) {
            EXPECT_NEAR(fitted.scaleX, fitted.scaleY, 1e-9);
        }
    }
}

TEST(FitArt, LayersShareOneMappingAndTogetherFillTheRectangle) {
    Art twoLayers;
    twoLayers.place(disc(0, 0, 10), 0, 0, 1);
    twoLayers.add(1, [](cairo_t* cr) {
        cairo_arc(cr, 30, 5, 4, 0, 2 * M_PI);
        cairo_fill(cr);
    });
    const FittedSprite fitted = fitArt(twoLayers, 120, 60);
    ASSERT_EQ(fitted.layers.size(), 2u);
    expectFillsRectangle(fitted, 120, 60);
    // Neither layer alone reaches every edge: the small disc lies right of the large one.
    EXPECT_EQ(fitted.layers[0].inkBox().x, 0);
    EXPECT_LT(fitted.layers[0].inkBox().x + fitted.layers[0].inkBox().w, 120);
    EXPECT_EQ(fitted.layers[1].inkBox().x + fitted.layers[1].inkBox().w, 120);
}

TEST(FitArt, AnEmptyDrawingIsAnError) {
    Art nothing;
    nothing.add(0, [](cairo_t*) {});
    EXPECT_THROW(fitArt(nothing, 20, 20), std::runtime_error);
}

TEST(FontLookup, AFaceThatIsNotInstalledIsAnError) {
    EXPECT_THROW(Font("No Such Family Anywhere", "Regular"), std::runtime_error);
    EXPECT_NO_THROW(Font("Comic Neue", "Bold"));
}

TEST(WritePng, SplitsDataIntoFullIdatChunksAndDecodesBack) {
    // Noise does not compress, so the data needs several IDAT chunks.
    RgbaImage image(96, 80);
    Mask mask(96, 80);
    std::uint32_t state = 12345;
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 96; ++x) {
            state = state * 1664525u + 1013904223u;
            mask.at(x, y) = std::uint8_t(state >> 24);
        }
    }
    image.stamp({mask}, {blue}, 0, 0);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("atlasgen-writepng-" + std::to_string(::getpid()) + ".png"))
                                 .string();
    writePng(image, path);
    std::vector<std::uint8_t> bytes = readFileBytes(path);
    std::remove(path.c_str());

    const std::vector<PngChunk> chunks = parsePngChunks(bytes);
    ASSERT_GE(chunks.size(), 6u);
    EXPECT_EQ(chunks[3].type, "IDAT");
    EXPECT_EQ(chunks[3].length, 8192u);
    EXPECT_EQ(chunks[chunks.size() - 2].type, "IDAT");
    EXPECT_LT(chunks[chunks.size() - 2].length, 8192u);

    IMG_Init(IMG_INIT_PNG);
    SDL_Surface* decoded = IMG_Load_RW(SDL_RWFromMem(bytes.data(), int(bytes.size())), 1);
    ASSERT_NE(decoded, nullptr) << IMG_GetError();
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(decoded);
    ASSERT_NE(rgba, nullptr);
    int mismatches = 0;
    for (int y = 0; y < 80; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(rgba->pixels) + y * rgba->pitch;
        for (int x = 0; x < 96; ++x) {
            const Rgba want = image.at(x, y);
            const std::uint8_t* p = row + x * 4;
            mismatches += p[0] != want.r || p[1] != want.g || p[2] != want.b || p[3] != want.a;
        }
    }
    SDL_FreeSurface(rgba);
    EXPECT_EQ(mismatches, 0);
}

TEST(WritePng, AnUnwritablePathThrowsAndLeavesNothing) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "atlasgen-no-such-directory" / "deeper";
    EXPECT_THROW(writePng(RgbaImage(4, 4), (dir / "x.png").string()), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir));
}

} // namespace
