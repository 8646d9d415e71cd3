// The committed atlases as the demo decodes them with SDL2_image: sizes, where every sprite's ink
// lies, transparency around the sprites, and the only colours allowed.
#include "AtlasLayout.h"
#include "PngChunks.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

struct Pixel {
    std::uint8_t r, g, b, a;
};

// Decodes from memory exactly as the demo does, then lays the pixels out as R, G, B, A bytes.
Surface decodeFromMemory(std::vector<std::uint8_t>& bytes, Uint32& decodedFormat) {
    SDL_RWops* rw = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
    Surface decoded(IMG_Load_RW(rw, 1));
    if (!decoded) {
        ADD_FAILURE() << "IMG_Load_RW: " << IMG_GetError();
        return nullptr;
    }
    decodedFormat = decoded->format->format;
    return Surface(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGBA32, 0));
}

Pixel pixelAt(const SDL_Surface* s, int x, int y) {
    const auto* p = static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

bool inside(const SpriteBox& b, int x, int y) {
    return x >= b.x && y >= b.y && x < b.x + b.w && y < b.y + b.h;
}

struct Atlas {
    const char* file;
    int height;
    const std::vector<SpriteBox>& (*boxes)();
};

void PrintTo(const Atlas& atlas, std::ostream* os) {
    *os << atlas.file;
}

class AtlasContentTest : public ::testing::TestWithParam<Atlas> {
protected:
    static void SetUpTestSuite() { IMG_Init(IMG_INIT_PNG); }

    void SetUp() override {
        bytes = readFileBytes(std::string(CONTENT_DIR) + "/" + GetParam().file);
        surface = decodeFromMemory(bytes, decodedFormat);
        ASSERT_TRUE(surface);
    }

    std::vector<std::uint8_t> bytes;
    Uint32 decodedFormat = 0;
    Surface surface;
};

TEST_P(AtlasContentTest, DecodesFromMemoryToA2048WideRgbaSurface) {
    EXPECT_EQ(surface->w, 2048);
    EXPECT_EQ(surface->h, GetParam().height);
    EXPECT_EQ(SDL_BITSPERPIXEL(decodedFormat), 32u);
    EXPECT_TRUE(SDL_ISPIXELFORMAT_ALPHA(decodedFormat)) << SDL_GetPixelFormatName(decodedFormat);
}

TEST_P(AtlasContentTest, EachSpritesInkFillsExactlyItsRectangle) {
    for (const SpriteBox& box : GetParam().boxes()) {
        int x0 = surface->w, y0 = surface->h, x1 = -1, y1 = -1;
        for (int y = box.y; y < box.y + box.h; ++y) {
            for (int x = box.x; x < box.x + box.w; ++x) {
                if (pixelAt(surface.get(), x, y).a == 0) {
                    continue;
                }
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
        }
        EXPECT_EQ(x0, box.x) << box.name << " left";
        EXPECT_EQ(y0, box.y) << box.name << " top";
        EXPECT_EQ(x1, box.x + box.w - 1) << box.name << " right";
        EXPECT_EQ(y1, box.y + box.h - 1) << box.name << " bottom";
    }
}

TEST_P(AtlasContentTest, EverythingOutsideTheRectanglesIsTransparentBlack) {
    const std::vector<SpriteBox>& boxes = GetParam().boxes();
    int stray = 0;
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            bool covered = false;
            for (const SpriteBox& b : boxes) {
                covered = covered || inside(b, x, y);
            }
            const Pixel p = pixelAt(surface.get(), x, y);
            if (!covered && (p.r != 0 || p.g != 0 || p.b != 0 || p.a != 0) && stray++ < 5) {
                ADD_FAILURE() << "pixel " << x << ", " << y << " lies outside every sprite";
            }
        }
    }
    EXPECT_EQ(stray, 0);
}

TEST_P(AtlasContentTest, OnlyTheAllowedColoursAppear) {
    int red = 0, blue = 0;
    for (const SpriteBox& box : GetParam().boxes()) {
        const bool logo = box.name == "uv_wisplogo";
        int wrong = 0;
        for (int y = box.y; y < box.y + box.h; ++y) {
            for (int x = box.x; x < box.x + box.w; ++x) {
                const Pixel p = pixelAt(surface.get(), x, y);
                if (p.a == 0) {
                    EXPECT_TRUE(p.r == 0 && p.g == 0 && p.b == 0)
                        << box.name << " " << x << "," << y;
                    continue;
                }
                const bool black = p.r == 0 && p.g == 0 && p.b == 0;
                const bool isRed = p.r == 255 && p.g == 0 && p.b == 0;
                const bool isBlue = p.r == 0 && p.g == 102 && p.b == 255;
                red += logo && isRed;
                blue += logo && isBlue;
                const bool allowed = logo ? (isRed || isBlue) : black;
                if (!allowed && wrong++ < 3) {
                    ADD_FAILURE() << box.name << " has colour " << int(p.r) << "," << int(p.g)
                                  << "," << int(p.b) << " at " << x << ", " << y;
                }
            }
        }
    }
    if (GetParam().height == 2048) {
        // The logo is both colours, each a substantial part of it.
        EXPECT_GT(red, 20000);
        EXPECT_GT(blue, 5000);
    }
}

INSTANTIATE_TEST_SUITE_P(Atlases, AtlasContentTest,
                         ::testing::Values(Atlas{"title_atlas.png", 2048, titleBoxes},
                                           Atlas{"greetings_atlas.png", 512, greetingsBoxes}),
                         [](const ::testing::TestParamInfo<Atlas>& info) {
                             return std::string(info.param.height == 2048 ? "Title" : "Greetings");
                         });

} // namespace
